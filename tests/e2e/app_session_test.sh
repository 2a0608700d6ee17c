#!/bin/bash
# A session with brantle.exe in the virtual desktop, driven like a user does:
#   - with no settings it opens its 480 x 360 main window, titled with the
#     version, centred, of fixed size, with the idle tray icon;
#   - Ctrl+B without an output file asks for one (message box, then the
#     output dialog with the default path), the chosen path is saved to the
#     registry, a rectangle dragged on the selection window is recorded: the
#     status bar, the menu and toolbar and the tray icon follow start, pause,
#     resume and stop; the window refuses to close while recording and the
#     recording goes on;
#   - the file is a ZMBV film (the compressor set) of the rectangle
#     that ffmpeg decodes, with a mark for each left click made during the
#     recording, where and when it was made;
#   - a second start of the program ends by itself and brings up the first
#     one's hidden window; a click on the tray icon does too.
# Usage: app_session_test.sh APP_PROBE.exe BRANTLE.exe WORK_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

# Usage: expect WHAT ACTUAL EXPECTED
expect() {
  [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}

# Usage: expect_commands WHAT START_STATE PAUSE_STATE; menu and toolbar alike.
expect_commands() {
  expect "$1: Start in the menu" "$(probe menu-state "$TITLE" $ID_RECORD_START)" "$2"
  expect "$1: Pause in the menu" "$(probe menu-state "$TITLE" $ID_RECORD_PAUSE)" "$3"
  expect "$1: Start button" "$(probe toolbar-state "$TITLE" $ID_RECORD_START)" "$2"
  expect "$1: Pause button" "$(probe toolbar-state "$TITLE" $ID_RECORD_PAUSE)" "$3"
}

rm -rf "$work"
mkdir -p "$work"
avi="$work/session.avi"
avi_windows=$(winepath -w "$avi")
reset_settings

# --- the main window as it starts ---------------------------------------
start_app "$work/first.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
first=$(app_pids)
[ "$(wc -w <<<"$first")" = 1 ] || fail "brantle.exe processes: '$first', expected one"
probe wait-visible "$TITLE" yes 5000 || fail "the main window is not shown"
read -r left top right bottom _ _ < <(probe rect "$TITLE")
expect "window size" "$((right - left))x$((bottom - top))" 480x360
expect "window centre" "$(((left + right) / 2)),$(((top + bottom) / 2))" 512,384
style=$(probe style "$TITLE")
(((style & 0x00040000) == 0)) || fail "style $style has a sizing frame"
(((style & 0x00010000) == 0)) || fail "style $style has a maximise box"
tray_wait "$APP_NAME" 5000 || fail "no tray icon"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_IDLE 5000 $TRAY_RECORDING \
  || fail "the tray does not show the idle icon"
desktop=$(desktop_window) || fail "no desktop window"

# --- no output file yet: Ctrl+B asks for one ----------------------------
desktop_key ctrl+b
probe wait-dialog "$APP_NAME" 5000 || fail "Ctrl+B without an output file showed no message"
expect "message" "$(probe message-text "$APP_NAME")" \
  "$(printf 'Not set output file name! \nPlease set the output file first!')"
probe click-button "$APP_NAME" 1
probe wait-dialog "$OUTPUT_DIALOG" 5000 || fail "no output file dialog after the message"
# testcap.avi in the user's Videos folder, which exists: an unelevated
# program could not write into the root of C:.
offered=$(probe dialog-text "$OUTPUT_DIALOG" 1022)
[[ "$offered" == [A-Za-z]:\\users\\*\\testcap.avi ]] || fail "offered path: '$offered'"
[ -d "$(winepath -u "${offered%\\testcap.avi}")" ] || fail "the offered folder does not exist: $offered"
probe set-text "$OUTPUT_DIALOG" 1022 "$avi_windows" || fail "cannot type the path"
probe click-button "$OUTPUT_DIALOG" 1
probe wait-gone "$OUTPUT_DIALOG" 5000 || fail "OK did not close the output dialog"
deadline=$((SECONDS + 5))
until [ "$(read_string SavePath)" = "$avi_windows" ]; do
  [ $SECONDS -ge $deadline ] && fail "SavePath in the registry: '$(read_string SavePath)'"
  sleep 0.2
done

# --- a dragged rectangle is recorded -------------------------------------
probe wait-visible "$SELECTION_WINDOW" yes 5000 || fail "the selection window did not appear"
# Inclusive corners: 320 x 240 pixels, at the bottom right, where the other
# tests leave no windows.
read -r rect_left rect_top rect_right rect_bottom <<<"600 400 919 639"
xdotool mousemove --window "$desktop" "$rect_left" "$rect_top" mousedown 1 \
  mousemove --window "$desktop" 700 500 \
  mousemove --window "$desktop" "$rect_right" "$rect_bottom" mouseup 1
probe wait-status "$TITLE" 1 Recording 5000 ||
  fail "the dragged rectangle started no recording; pane 1 shows '$(probe status "$TITLE" 1)'," \
    "the selection window is $(probe rect "$SELECTION_WINDOW") ($(probe wait-visible \
    "$SELECTION_WINDOW" yes 0 >/dev/null 2>&1 && echo shown || echo hidden)); windows:" \
    "$(probe windows 2>&1 | tr '\r\n' ' ')"
started=$(now)
probe wait-visible "$SELECTION_WINDOW" no 0 || fail "the selection window stayed"
probe wait-status-match "$TITLE" 2 '[0-9]+ sec  [0-9]+  frames' 5000 \
  || fail "pane 2 shows no seconds and frames"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_RECORDING 5000 $TRAY_IDLE \
  || fail "the tray does not show the recording icon"
expect_commands "recording" disabled enabled

# Left clicks on the desktop inside the rectangle, outside the main
# window's place (272 204 752 564) even had it stayed on the screen; a
# second apart so that each has frames of its own.
clicks=()
for spot in "800 450" "880 600" "680 600"; do
  read -r x y <<<"$spot"
  xdotool mousemove --window "$desktop" "$x" "$y" click 1
  clicks+=("$((x - rect_left)),$((y - rect_top)),$(awk -v a="$(now)" -v b="$started" 'BEGIN { print a - b }')")
  sleep 1
done

# --- pause and resume -----------------------------------------------------
desktop_key ctrl+p
probe wait-status "$TITLE" 1 Paused 5000 || fail "Ctrl+P did not pause: $(pause_report)"
expect_commands "paused" enabled disabled
frames=$(frames_shown)
sleep 2  # paused for 2 s: nothing may move on
expect "state after 2 s of pause" "$(probe status "$TITLE" 1)" Paused
expect "frames after 2 s of pause" "$(frames_shown)" "$frames"
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 5000 || fail "Ctrl+B did not resume"
wait_frames_above "$frames" 5 || fail "no frames after the resume: $(probe status "$TITLE" 2)"

# --- no closing while recording ------------------------------------------
probe close "$TITLE"
probe wait-dialog "$APP_NAME" 5000 || fail "closing while recording showed no message"
expect "message" "$(probe message-text "$APP_NAME")" "Recording, Please stop recording!"
probe click-button "$APP_NAME" 1
probe wait-gone "$APP_NAME" 5000 || fail "OK did not close the message"
probe wait-window "$TITLE" 0 || fail "the main window closed while recording"
frames=$(frames_shown)
wait_frames_above "$frames" 5 || fail "the recording did not go on after the refused close"

# --- stop ------------------------------------------------------------------
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_IDLE 5000 $TRAY_RECORDING \
  || fail "the tray does not show the idle icon after the stop"
expect_commands "stopped" enabled disabled

# --- the file ---------------------------------------------------------------
[ -s "$avi" ] || fail "no file at $avi"
info=$(ffprobe -v error -show_entries stream=codec_type,codec_name,width,height \
  -of default=nw=1 "$avi")
echo "$info"
expect "streams" "$(grep -c '^codec_type=' <<<"$info")" 1
grep -qx 'codec_name=zmbv' <<<"$info" || fail "not ZMBV, the compressor set"
width=$((rect_right - rect_left + 1))
height=$((rect_bottom - rect_top + 1))
grep -qx "width=$width" <<<"$info" && grep -qx "height=$height" <<<"$info" \
  || fail "not the dragged $width x $height"
errors=$(ffmpeg -v error -i "$avi" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"
ffmpeg -v error -y -i "$avi" -f rawvideo -pix_fmt rgb24 "$work/frames.rgb24" \
  || fail "ffmpeg could not extract the frames"
python3 "$here/click_marks.py" "$work/frames.rgb24" $width $height 10 "${clicks[@]}" \
  || fail "click marks"

# --- a second start brings up the first one ------------------------------
probe syscommand "$TITLE" minimize
probe wait-visible "$TITLE" no 5000 || fail "minimising did not hide the window"
start_app "$work/second.log"
probe wait-visible "$TITLE" yes 20000 || fail "the second start did not show the first window"
probe wait-foreground "$TITLE" 5000 || fail "the second start did not bring the first window forward"
wait_app_pids "$first" 30 || fail "brantle.exe processes: $(app_pids | xargs), expected $first alone"

# --- the tray icon brings it up too -----------------------------------------
probe syscommand "$TITLE" minimize
probe wait-visible "$TITLE" no 5000 || fail "minimising did not hide the window"
tray_click "$APP_NAME" 1 || fail "cannot click the tray icon"
probe wait-visible "$TITLE" yes 5000 || fail "a click on the tray icon did not show the window"
probe wait-foreground "$TITLE" 5000 || fail "a click on the tray icon did not bring the window forward"

probe close "$TITLE"
probe wait-gone "$TITLE" 10000 || fail "the program did not close"
wait_app_pids "" 10 || fail "the program's process did not end"
echo "main window, output file prompt, recording with clicks, pause, refused close, stop," \
  "second instance and tray as expected"
