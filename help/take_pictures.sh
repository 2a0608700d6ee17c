#!/bin/bash
# Takes the help's pictures of the program's windows from the real program,
# with a new user's settings, in the test environment's virtual desktop,
# into help/pictures/ (committed: run again after a window changes).
#
# Usage, from the source tree, after scripts/build.sh:
#   scripts/testenv.sh /tmp/pictures-env help/take_pictures.sh [BUILD_DIR]
# The first argument is a folder of its own for the test environment (its
# Wine prefix is made there once, which adds a minute to the first run);
# BUILD_DIR is where brantle.exe is, build/win64 unless told. A run takes
# about 20 seconds and writes the same files again when the windows have not
# changed.
#
# For the run, and undone afterwards, in the Wine prefix:
#   - Wine draws the caption buttons with its Marlett font; without it
#     (Debian's fonts-wine is not installed here) they show as the letters
#     "0 1 r". The script then takes marlett.ttf alone from that package
#     (apt-get download) into the prefix's Fonts folder.
#   - The caret blinks once a minute instead of twice a second, so that a
#     box with the keyboard shows it in every run.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
here="$root/tests/e2e"
# shellcheck disable=SC2034 # both are used by brantle_app.sh and tray.sh
APP_PROBE="$build/tests/e2e/app_probe.exe"
# shellcheck disable=SC2034
BRANTLE="$build/brantle.exe"
# shellcheck source=../tests/e2e/common.sh
source "$here/common.sh"
# shellcheck source=../tests/e2e/tray.sh
source "$here/tray.sh"
# shellcheck source=../tests/e2e/brantle_app.sh
source "$here/brantle_app.sh"

out="$root/help/pictures"
work=$(mktemp -d)
added_font=
blink_key='HKCU\Control Panel\Desktop'
blink_rate="unset"
clean_up() {
  finish_app
  [ -n "$added_font" ] && rm -f "$added_font"
  case "$blink_rate" in
    unset) ;;
    "") wine reg delete "$blink_key" /v CursorBlinkRate /f >/dev/null 2>&1 ;;
    *) wine reg add "$blink_key" /v CursorBlinkRate /t REG_SZ /d "$blink_rate" /f >/dev/null 2>&1 ;;
  esac
  rm -rf "$work"
}
trap clean_up EXIT
mkdir -p "$out"

CONVERTER="Brantle Converter"
# A plausible user's files, as the help's examples name them. Nothing is
# recorded, so the folder need not exist.
SAVE_PATH='C:\Users\Ann\Videos\testcap.mp4'
RECORDING='C:\Users\Ann\Videos\testcap.avi'

# The caption buttons' font, for this run's programs (see above).
add_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" deb
  [ -f /usr/share/wine/fonts/marlett.ttf ] && return 0
  [ -f "$fonts/marlett.ttf" ] && return 0
  (cd "$work" && apt-get download fonts-wine >"$work/apt.log" 2>&1) ||
    fail "cannot fetch Debian's fonts-wine for its Marlett font: $(cat "$work/apt.log")"
  deb=$(ls "$work"/fonts-wine_*.deb) || fail "apt-get download gave no fonts-wine package"
  dpkg-deb -x "$deb" "$work/fonts-wine" || fail "cannot unpack $deb"
  mkdir -p "$fonts"
  cp "$work/fonts-wine/usr/share/wine/fonts/marlett.ttf" "$fonts/" ||
    fail "no marlett.ttf in $deb"
  added_font="$fonts/marlett.ttf"
}

# A caret that stays on for a minute (see above); the prefix's own rate is
# put back at the end.
steady_caret() {
  blink_rate=$(wine reg query "$blink_key" /v CursorBlinkRate 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *CursorBlinkRate *REG_SZ *//p')
  wine reg add "$blink_key" /v CursorBlinkRate /t REG_SZ /d 60000 /f >/dev/null 2>&1 ||
    fail "cannot set the caret's blink rate"
}

# Usage: shoot WIDTH HEIGHT LEFT TOP; that part of the screen into
# $work/area.png.
shoot() {
  import -window root -crop "$1x$2+$3+$4" +repage "$work/area.png" ||
    fail "cannot take a screenshot"
}

# Usage: wait_still WIDTH HEIGHT LEFT TOP [CONDITION...]; waits, at most
# 10 s, until that part of the screen shows the same pixels in three
# screenshots in a row 0.15 s apart (a window just shown is painted a moment
# later), and CONDITION, a command, if given, holds for it; the last
# screenshot is left in $work/area.png.
wait_still() {
  local deadline=$((SECONDS + 10)) same=0
  local size=$1 height=$2 left=$3 top=$4
  shift 4
  rm -f "$work/before.rgb"
  while :; do
    shoot "$size" "$height" "$left" "$top"
    convert "$work/area.png" "rgb:$work/now.rgb"
    if [ -f "$work/before.rgb" ] && cmp -s "$work/before.rgb" "$work/now.rgb"; then
      same=$((same + 1))
    else
      same=0
    fi
    mv "$work/now.rgb" "$work/before.rgb"
    if [ $same -ge 2 ] && { [ $# -eq 0 ] || "$@"; }; then return 0; fi
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.15
  done
}

# Usage: save_area NAME WIDTH HEIGHT LEFT TOP [CONDITION...]; that part of
# the screen, once still, as NAME.png: 8-bit palette when it has at most 256
# colours (then the same pixels), and without time stamps, so that an
# unchanged window gives an unchanged file.
save_area() {
  local name=$1 colours
  shift
  wait_still "$@" || fail "$name: the screen did not settle"
  colours=$(identify -format %k "$work/area.png")
  if [ "$colours" -le 256 ]; then
    convert "$work/area.png" -strip "png8:$out/$name.png"
  else
    convert "$work/area.png" -strip "png24:$out/$name.png"
  fi || fail "cannot save $name.png"
}

# Whether $work/area.png, a window with its frame, shows the caption of the
# active window: blue, not grey, left of the caption's buttons.
caption_active() {
  local width
  width=$(identify -format %w "$work/area.png")
  [ "$(convert "$work/area.png" -crop "1x1+$((width - 80))+10" +repage \
    -format '%[fx:u.b - u.r > 0.3]' info:)" = 1 ]
}

# Usage: save_window CAPTION NAME; the window with its frame, once shown
# and active.
save_window() {
  local left top right bottom
  probe wait-visible "$1" yes 10000 >/dev/null || fail "no window '$1'"
  read -r left top right bottom _ < <(probe rect "$1") || fail "no rectangle of '$1'"
  save_area "$2" $((right - left)) $((bottom - top)) "$left" "$top" caption_active
}

# The centre of the last button on the taskbar, that of the window shown
# last: x y.
last_task_button() {
  probe windows | tr -d '\r' | awk '
    /^[^ ]/ { tray = ($2 == "Shell_TrayWnd") }
    tray && /^  / && $2 == "Button" && / visible / {
      match($0, /\(-?[0-9]+ -?[0-9]+ -?[0-9]+ -?[0-9]+\)/)
      split(substr($0, RSTART + 1, RLENGTH - 2), r, " ")
      if (r[3] > r[1] && r[1] >= best) { best = r[1]; x = int((r[1] + r[3]) / 2); y = int((r[2] + r[4]) / 2) }
    }
    END { if (x) print x, y; else exit 1 }'
}

# Usage: cancel CAPTION; presses Cancel and waits until the dialog is gone;
# presses it again if not (in one of about twenty runs a press was lost).
cancel() {
  for _ in 1 2 3; do
    probe click-button "$1" 2 >/dev/null
    probe wait-gone "$1" 3000 >/dev/null && return 0
  done
  fail "'$1' did not close"
}

# Usage: save_dialog COMMAND CAPTION NAME
save_dialog() {
  probe command "$TITLE" "$1" >/dev/null
  probe wait-dialog "$2" 10000 >/dev/null || fail "command $1 opened no '$2'"
  save_window "$2" "$3"
  cancel "$2"
}

# Whether $work/area.png (the selection picture) shows the band's right
# side where the mouse went: the band is 4 pixels wide, inside the
# rectangle, so the column at BAND_EDGE differs from one further in.
band_drawn() {
  local edge inside
  edge=$(convert "$work/area.png" -crop "1x40+$((BAND_EDGE - AREA_LEFT))+$((BAND_MIDDLE - AREA_TOP))" \
    +repage -format '%#' info:)
  inside=$(convert "$work/area.png" -crop "1x40+$((BAND_EDGE - 40 - AREA_LEFT))+$((BAND_MIDDLE - AREA_TOP))" \
    +repage -format '%#' info:)
  [ "$edge" != "$inside" ]
}

add_marlett
steady_caret
reset_settings
set_container new-user
set_string SavePath "$SAVE_PATH"
start_app "$work/brantle.log"
probe wait-window "$TITLE" 30000 >/dev/null || fail "the program did not start"
probe wait-foreground "$TITLE" 10000 >/dev/null || fail "the program is not in the foreground"
save_window "$TITLE" main_window
save_dialog 32771 "Record Option" video_options
save_dialog 32772 "Audio Options" audio_options
save_dialog 32790 "HotKey Options" hotkey_options
save_dialog 32798 "$OUTPUT_DIALOG" output_file

probe command "$TITLE" 32773 >/dev/null
probe wait-dialog "Option" 10000 >/dev/null || fail "no Option dialog"
save_window "Option" record_options
probe click-button "Option" 1027 >/dev/null  # the "..." beside Enhance Mouse Click
probe wait-dialog "Mouse Down Option" 10000 >/dev/null || fail "no Mouse Down Option dialog"
save_window "Mouse Down Option" mouse_down_option
cancel "Mouse Down Option"
probe click-button "Option" 1028 >/dev/null  # the "..." beside Add Text On Video
probe wait-dialog "Text" 10000 >/dev/null || fail "no Text dialog"
save_window "Text" text_option
cancel "Text"
cancel "Option"

desktop=$(desktop_window) || fail "no desktop window"

# The converter as the recorder opens it for an AVI recording: the file
# chosen, waiting for Convert. It opens in the middle of the screen, over
# the recorder, with the caption of an inactive window: under Wine a window
# that another program starts is the foreground window but is drawn as
# inactive (notepad.exe too). A click on the recorder's caption above it,
# then on the converter's button on the taskbar, activates it for real.
"$root/scripts/in-desktop.sh" "$build/avi2mpg.exe" /preset "$RECORDING" >"$work/converter.log" 2>&1 &
app_jobs+=($!)  # finish_app closes it, as for start_helper
helper_programs+=(avi2mpg.exe)
helper_windows+=("$CONVERTER")
probe wait-visible "$CONVERTER" yes 30000 >/dev/null ||
  fail "the converter did not start: $(cat "$work/converter.log")"
probe wait-foreground "$CONVERTER" 10000 >/dev/null || fail "the converter is not in front"
read -r left top right _ < <(probe rect "$TITLE") || fail "no rectangle of the main window"
read -r _ converter_top _ < <(probe rect "$CONVERTER") || fail "no rectangle of the converter"
[ $((top + 10)) -lt "$converter_top" ] || fail "the converter covers the main window's caption"
xdotool mousemove --window "$desktop" $(((left + right) / 2)) $((top + 10)) click 1
probe wait-foreground "$TITLE" 10000 >/dev/null || fail "a click did not activate the main window"
read -r x y < <(last_task_button) || fail "no button on the taskbar"
xdotool mousemove --window "$desktop" "$x" "$y" click 1
probe wait-foreground "$CONVERTER" 10000 >/dev/null || fail "its taskbar button did not activate the converter"
save_window "$CONVERTER" converter
probe close "$CONVERTER" >/dev/null
probe wait-gone "$CONVERTER" 10000 >/dev/null || fail "the converter did not close"

# A rectangle half dragged: Record > Start (a new user's region is "drag a
# rectangle"), then the button held down at one corner and the mouse moved
# on; the picture is the screen around the band, its label above it.
probe command "$TITLE" "$ID_RECORD_START" >/dev/null
probe wait-visible "$SELECTION_WINDOW" yes 10000 >/dev/null || fail "no selection window"
AREA_LEFT=200 AREA_TOP=135 BAND_EDGE=598 BAND_MIDDLE=310
xdotool mousemove --window "$desktop" 300 220 mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove --window "$desktop" $((300 + step * 50)) $((220 + step * 30))
done
save_area selecting_region 500 350 "$AREA_LEFT" "$AREA_TOP" band_drawn
xdotool windowfocus --sync "$desktop"
desktop_key Escape
xdotool mouseup 1
probe wait-visible "$SELECTION_WINDOW" no 10000 >/dev/null || fail "the selection did not end"
! probe wait-status "$TITLE" 1 Recording 2000 >/dev/null 2>&1 || fail "the selection recorded"

ls -l "$out"
