#!/bin/bash
# The recorder's main job, shown without a display; run by scripts/run.sh
# inside scripts/testenv.sh. In a 1024 x 768 virtual desktop with Wine's
# notepad open, it records about 9 s of the full screen through the
# program's own hotkeys while the pointer clicks into notepad, types two
# lines there, drags the window by its title bar and right-clicks its status
# bar; the program draws its click marks and a line of text of its own into
# the frames. Then it prints what ffprobe reports of the file and writes a
# contact sheet of six moments of it.
# Usage: demo.sh APP_PROBE.exe BRANTLE.exe OUT_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
out=$3
root=$(cd "$(dirname "$0")/.." && pwd)
e2e="$root/tests/e2e"
# shellcheck source=../tests/e2e/common.sh
source "$e2e/common.sh"
# shellcheck source=../tests/e2e/tray.sh
source "$e2e/tray.sh"
# shellcheck source=../tests/e2e/brantle_app.sh
source "$e2e/brantle_app.sh"
trap finish_app EXIT

NOTEPAD="Untitled - Notepad"

# Moves the pointer from X0 Y0 to X1 Y1 in 10 steps over half a second, so
# that the frames show it travel; a held button stays held (a drag).
glide() {
  local i
  for i in {1..10}; do
    xdotool mousemove --window "$desktop" $(($1 + ($3 - $1) * i / 10)) $(($2 + ($4 - $2) * i / 10))
    sleep 0.05
  done
}

# Notes this moment of the recording for the contact sheet: seconds into
# the film, then NAME.
moment() {
  moments+=("$(awk -v a="$(now)" -v b="$started" 'BEGIN { printf "%.1f", a - b }') $1")
}

# Holds mouse BUTTON for half a second, the moment NAME in the middle of it,
# so that the frame of that moment shows the click mark.
click_held() {
  xdotool mousedown "$1"
  sleep 0.25
  moment "$2"
  sleep 0.25
  xdotool mouseup "$1"
}

# Waits up to 10 s for notepad's window to have its top left corner at LEFT TOP.
wait_notepad_at() {
  local deadline=$((SECONDS + 10)) left top
  until read -r left top _ < <(probe rect "$NOTEPAD") && [ "$left $top" = "$1 $2" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# Types LINE into notepad, on a line of its own after the first, and waits
# until notepad holds exactly everything typed so far, however its font
# lays it out and however slowly it takes the keys.
typed=""
type_line() {
  local seen
  if [ -n "$typed" ]; then
    xdotool key Return
    typed+="\n"
  fi
  xdotool type --delay 60 "$1"
  typed+=$1
  seen=$(probe wait-child-text "$NOTEPAD" Edit "$typed" 20000 2>&1 >/dev/null) \
    || fail "the typed keys did not reach notepad: ${seen#app_probe: }"
}

mkdir -p "$out"
avi="$out/screen.avi"
sheet="$out/contact-sheet.png"
rm -f "$avi" "$sheet"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword ShowMouseDown 1
set_dword ShowText 1
set_string TextString "Brantle demo"
set_dword TextPosX 640
set_dword TextPosY 60
set_dword TextColor 65535  # COLORREF 0x00BBGGRR: yellow
# A LOGFONTA, little-endian: characters 36 pixels high (-36), bold (700), Tahoma.
set_binary TextFont "dcffffff000000000000000000000000bc0200000000000000000000$(
  printf '%-64s' "$(printf Tahoma | od -An -tx1 | tr -d ' \n')" | tr ' ' 0)"
set_string SavePath "$(winepath -w "$avi")"
# Wine's notepad: where its window opens, and a large font.
for value in "iWindowPosX 40" "iWindowPosY 40" "iWindowPosDX 560" "iWindowPosDY 340" \
  "iPointSize 200"; do
  read -r name data <<<"$value"
  wine reg add 'HKCU\Software\Microsoft\Notepad' /v "$name" /t REG_DWORD /d "$data" /f \
    >/dev/null 2>&1 || fail "cannot set notepad's $name"
done

echo "Starting notepad and the recorder in a virtual desktop..."
start_helper notepad "$NOTEPAD" "$out/notepad.log"
probe wait-window "$NOTEPAD" 30000 >/dev/null || fail "notepad did not appear"
start_app "$out/brantle.log"
probe wait-window "$TITLE" 30000 >/dev/null || fail "the main window did not appear"
desktop=$(desktop_window) || fail "no desktop window"
# Typed keys go to the Wine window that has the X input focus.
xdotool windowfocus --sync "$desktop" || fail "cannot focus the desktop window"
xdotool mousemove --window "$desktop" 560 300

desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 >/dev/null || fail "Ctrl+B did not start a recording"
echo "Ctrl+B: recording the full screen while notepad is used..."
# The film's clock: the file opens a moment after the status says
# Recording, and pane 2 first reads 1 s with the frame grabbed 1 s in.
probe wait-status-match "$TITLE" 2 '1 sec  [0-9]+  frames' 10000 >/dev/null \
  || fail "the recording did not reach 1 s: $(probe status "$TITLE" 2)"
started=$(awk -v n="$(now)" 'BEGIN { printf "%.3f", n - 1 }')
moments=("0.5 start")
read -r left top right bottom _ < <(probe rect "$NOTEPAD") || fail "notepad has no window"
glide 560 300 $((left + 160)) $((top + 120))
click_held 1 "left click into notepad"
# Typed keys reach the foreground window of the desktop.
seen=$(probe wait-foreground "$NOTEPAD" 10000 2>&1 >/dev/null) \
  || fail "the click did not bring notepad to the front: ${seen#app_probe: }"
type_line "Brantle records the screen:"
moment "typing"
type_line "keys, clicks and windows."
# Dragged by its title bar, 12 pixels below the window's top, in two steps.
grab_x=$((left + 210)) grab_y=$((top + 12))
glide $((left + 160)) $((top + 120)) $grab_x $grab_y
xdotool mousedown 1
glide $grab_x $grab_y $((grab_x + 120)) $((grab_y + 150))
wait_notepad_at $((left + 120)) $((top + 150)) \
  || fail "notepad did not follow the drag from $left $top: $(probe rect "$NOTEPAD")"
moment "dragging notepad"
glide $((grab_x + 120)) $((grab_y + 150)) $((grab_x + 240)) $((grab_y + 300))
xdotool mouseup 1
left=$((left + 240)) top=$((top + 300)) right=$((right + 240)) bottom=$((bottom + 300))
wait_notepad_at $left $top \
  || fail "notepad did not end where it was dragged, at $left $top: $(probe rect "$NOTEPAD")"
glide $((grab_x + 240)) $((grab_y + 300)) $((right - 140)) $((bottom - 14))  # onto its status bar
click_held 3 "right click"
sleep 0.5  # the moved window and the typed lines, with no mark
moment "end"
sleep 0.5
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 >/dev/null || fail "Ctrl+E did not stop"
echo "Ctrl+E: stopped; the status bar read: $(probe status "$TITLE" 2)"

# Notepad asks whether to save the typed lines: no.
probe close "$NOTEPAD" >/dev/null
probe wait-dialog Notepad 5000 >/dev/null && probe click-button Notepad 7 >/dev/null
probe wait-gone "$NOTEPAD" 5000 >/dev/null || fail "notepad did not close"

echo "Recorded $avi:"
ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,nb_frames \
  -show_entries format=duration -of compact=p=0 "$avi" || fail "ffprobe cannot read the file"

# One tile per moment: the first frame at or after it (the program skips a
# frame when it falls behind), by its number in the file and its time.
times=$(printf '%s\n' "${moments[@]}" | cut -d' ' -f1 | xargs)
mapfile -t picks < <(ffprobe -v error -select_streams v -show_entries frame=pts_time \
  -of csv=p=0 "$avi" | awk -v times="$times" 'BEGIN { wanted = split(times, at, " ") }
  { while (i < wanted && $1 + 0.001 >= at[i + 1]) { i++; printf "%d %.1f\n", NR - 1, $1 } }')
[ ${#picks[@]} = ${#moments[@]} ] || fail "the film ends before its last moment"
filters=
picked=
labels=()
for i in "${!moments[@]}"; do
  read -r n at <<<"${picks[i]}"
  labels+=("$at s  ${moments[i]#* }")
  filters+="drawtext=enable='eq(n,$n)':text='${labels[i]}':x=12:y=h-56:fontsize=36"
  filters+=":fontcolor=white:box=1:boxcolor=black@0.7:boxborderw=6,"
  picked+="+eq(n,$n)"
done
ffmpeg -v error -y -i "$avi" -frames:v 1 \
  -vf "${filters}select='${picked#+}',scale=iw/3:-1,tile=3x2:padding=4:color=white" "$sheet" \
  || fail "no contact sheet could be made"
[ -s "$sheet" ] || fail "no contact sheet at $sheet"
echo "A contact sheet of ${#labels[@]} moments of the recording, left to right, top to bottom:"
printf '  %s\n' "${labels[@]}" "$sheet"
