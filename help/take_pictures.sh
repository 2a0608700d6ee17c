#!/bin/bash
# Takes the help's pictures of the program's windows from the real program,
# with a new user's settings, in the test environment's virtual desktop,
# into help/pictures/ (committed: run again after a window changes).
# Usage, from the source tree, after scripts/build.sh:
#   scripts/testenv.sh /tmp/pictures-env bash help/take_pictures.sh [BUILD_DIR]
# BUILD_DIR: where brantle.exe is, build/win64 unless told.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
here="$root/tests/e2e"
APP_PROBE="$build/tests/e2e/app_probe.exe"
BRANTLE="$build/brantle.exe"
# shellcheck source=../tests/e2e/common.sh
source "$here/common.sh"
# shellcheck source=../tests/e2e/tray.sh
source "$here/tray.sh"
# shellcheck source=../tests/e2e/brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

out="$root/help/pictures"
work=$(mktemp -d)
mkdir -p "$out"

# Usage: save_area NAME WIDTH HEIGHT LEFT TOP; that part of the screen as
# an 8-bit PNG without time stamps, so that an unchanged window gives an
# unchanged file.
save_area() {
  import -window root "$work/screen.png" || fail "cannot take a screenshot"
  convert "$work/screen.png" -crop "$2x$3+$4+$5" +repage -strip "png8:$out/$1.png" ||
    fail "cannot save $1.png"
}

# Usage: save_window CAPTION NAME; the window with its frame, once shown.
save_window() {
  local left top right bottom
  probe wait-visible "$1" yes 10000 >/dev/null || fail "no window '$1'"
  read -r left top right bottom _ < <(probe rect "$1") || fail "no rectangle of '$1'"
  sleep 0.5  # shown is not yet painted
  save_area "$2" $((right - left)) $((bottom - top)) "$left" "$top"
}

# Usage: cancel CAPTION; presses Cancel and waits until the dialog is gone.
cancel() {
  probe click-button "$1" 2 >/dev/null
  probe wait-gone "$1" 5000 >/dev/null || fail "'$1' did not close"
}

# Usage: save_dialog COMMAND CAPTION NAME
save_dialog() {
  probe command "$TITLE" "$1" >/dev/null
  probe wait-dialog "$2" 10000 >/dev/null || fail "command $1 opened no '$2'"
  save_window "$2" "$3"
  cancel "$2"
}

reset_settings
set_container new-user
start_app "$work/brantle.log"
probe wait-window "$TITLE" 30000 >/dev/null || fail "the program did not start"
save_window "$TITLE" main_window
save_dialog 32771 "Record Option" video_options
save_dialog 32772 "Audio Options" audio_options
save_dialog 32790 "HotKey Options" hotkey_options
save_dialog 32798 "$OUTPUT_DIALOG" output_file

probe command "$TITLE" 32773 >/dev/null
probe wait-dialog "Option" 10000 >/dev/null || fail "no Option dialog"
save_window "Option" record_options
probe click-button "Option" 1027 >/dev/null
probe wait-dialog "Mouse Down Option" 10000 >/dev/null || fail "no Mouse Down Option dialog"
save_window "Mouse Down Option" mouse_down_option
cancel "Mouse Down Option"
probe click-button "Option" 1028 >/dev/null
probe wait-dialog "Text" 10000 >/dev/null || fail "no Text dialog"
save_window "Text" text_option
cancel "Text"
cancel "Option"

# A rectangle half dragged: Start; a new user has no output file yet, so
# the program asks for one first and offers a name, which is taken; then
# the button is held down at one corner and the mouse moved.
desktop=$(desktop_window) || fail "no desktop window"
probe command "$TITLE" 32774 >/dev/null
probe wait-dialog "$APP_NAME" 10000 >/dev/null || fail "Start asked for no output file"
case "$(probe message-text "$APP_NAME")" in
  "Not set output file name!"*) ;;
  *) fail "Start said: $(probe message-text "$APP_NAME")" ;;
esac
probe click-button "$APP_NAME" 1 >/dev/null
probe wait-dialog "$OUTPUT_DIALOG" 10000 >/dev/null || fail "no '$OUTPUT_DIALOG' after the message"
probe click-button "$OUTPUT_DIALOG" 1 >/dev/null
probe wait-gone "$OUTPUT_DIALOG" 5000 >/dev/null || fail "'$OUTPUT_DIALOG' did not close"
probe wait-visible "$SELECTION_WINDOW" yes 10000 >/dev/null || fail "no selection window"
xdotool mousemove --window "$desktop" 300 220 mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove --window "$desktop" $((300 + step * 50)) $((220 + step * 30))
done
sleep 0.5  # the band and its label follow the last move
save_area selecting_region 520 360 250 160
xdotool windowfocus --sync "$desktop"
desktop_key Escape
xdotool mouseup 1
probe wait-visible "$SELECTION_WINDOW" no 10000 >/dev/null || fail "the selection did not end"
! probe wait-status "$TITLE" 1 Recording 2000 >/dev/null 2>&1 || fail "the selection recorded"

# Out of the way of the converter, which opens in the middle of the screen.
probe syscommand "$TITLE" minimize >/dev/null
start_helper "$build/avi2mpg.exe" "Brantle Converter" "$work/converter.log"
probe wait-window "Brantle Converter" 30000 >/dev/null || fail "the converter did not start: $(cat "$work/converter.log")"
save_window "Brantle Converter" converter
rm -rf "$work"
ls -l "$out"
