#!/bin/bash
# What brantle.exe does with files, driven as a user does in the virtual
# desktop:
#   - without an output file, Cancel in the prompt that follows Ctrl+B starts
#     nothing and touches no file, and the setting stays empty;
#   - two recordings to an existing file's name leave it as it was and go to
#     "take (2).avi" and "take (3).avi", each named in the status bar, whose
#     frame count at the stop is the file's; File > Convert opens the
#     converter (when built) with the last of them;
#   - a start into a folder that does not exist brings the hidden main
#     window back under the message, and the status bar says the start failed.
# Usage: app_files_test.sh APP_PROBE.exe BRANTLE.exe WORK_DIR
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

rm -rf "$work"
mkdir -p "$work"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 0

# Every file of the folder with its size and modification time.
listing() { find "$1" -maxdepth 1 -type f -printf '%f %s %T@\n' | sort; }

start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
probe wait-visible "$TITLE" yes 5000 || fail "the main window is not shown"

# --- Cancel in the output-file prompt -------------------------------------
videos=$(winepath -u "$(wine cmd /c echo '%USERPROFILE%' | tr -d '\r')")/Videos
mkdir -p "$videos"
echo "an earlier recording" >"$videos/testcap.avi"
before=$(listing "$videos")
desktop_key ctrl+b
probe wait-dialog "$APP_NAME" 5000 || fail "Ctrl+B without an output file showed no message"
probe click-button "$APP_NAME" 1
probe wait-dialog "$OUTPUT_DIALOG" 5000 || fail "no output file dialog after the message"
probe click-button "$OUTPUT_DIALOG" 2
probe wait-gone "$OUTPUT_DIALOG" 5000 || fail "Cancel did not close the output dialog"
# A start would be recording within a second (full screen, no selection).
! probe wait-status "$TITLE" 1 Recording 2000 >/dev/null || fail "Cancel started a recording"
probe wait-visible "$TITLE" yes 0 || fail "the main window went away after Cancel"
[ "$(listing "$videos")" = "$before" ] || fail "files changed after Cancel: $(listing "$videos")"
[ -z "$(read_string SavePath)" ] || fail "SavePath after Cancel: '$(read_string SavePath)'"

# --- two recordings to an existing name ------------------------------------
echo "the user's own file" >"$work/take.avi"
original=$(listing "$work")
set_string SavePath "$(winepath -w "$work/take.avi")"
probe close "$TITLE"
probe wait-gone "$TITLE" 10000 || fail "the program did not close"
start_app "$work/app2.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear again"

# Usage: record NAME; records about 2 s and checks the name and the count.
record() {
  desktop_key ctrl+b
  probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
  [ "$(probe status "$TITLE" 0)" = "$1" ] || fail "pane 0 shows '$(probe status "$TITLE" 0)', not $1"
  wait_frames_above 10 10 || fail "no frames: $(probe status "$TITLE" 2)"
  desktop_key ctrl+e
  probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
  [ -s "$work/$1" ] || fail "no file $1: $(listing "$work")"
  local in_file
  in_file=$(ffprobe -v error -select_streams v -show_entries stream=nb_frames -of csv=p=0 \
    "$work/$1")
  # The last report may arrive a moment after the state.
  local deadline=$((SECONDS + 5))
  until [ "$(frames_shown)" = "$in_file" ]; do
    [ $SECONDS -ge $deadline ] && fail "$1: the status bar shows $(frames_shown) frames, the file has $in_file"
    sleep 0.1
  done
  echo "$1: $in_file frames, as shown"
}
record "take (2).avi"
record "take (3).avi"
grep -qx "take.avi $(sed -n 's/^take.avi //p' <<<"$original")" <<<"$(listing "$work")" \
  || fail "take.avi changed: $(listing "$work")"
# File > Convert opens the converter beside the program with that recording.
if [ -e "$(dirname "$BRANTLE")/avi2mpg.exe" ]; then
  probe command "$TITLE" 32811
  probe wait-dialog "Brantle Converter" 20000 || fail "File > Convert did not open the converter"
  chosen=$(probe dialog-text "Brantle Converter" 1001)
  [ "$chosen" = "$(winepath -w "$work/take (3).avi")" ] || fail "the converter was given '$chosen'"
  probe close "Brantle Converter"
  probe wait-gone "Brantle Converter" 10000 || fail "the converter did not close"
fi

# --- a start that fails ------------------------------------------------------
set_string SavePath "$(winepath -w "$work/no such folder/take.avi")"
probe close "$TITLE"
probe wait-gone "$TITLE" 10000 || fail "the program did not close"
start_app "$work/app3.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear a third time"
desktop_key ctrl+b
probe wait-dialog Error 10000 || fail "no message for a file that cannot be made"
message=$(probe message-text Error)
[[ "$message" == "Error Creating AVI File"* ]] || fail "message: '$message'"
probe wait-visible "$TITLE" yes 5000 || fail "the main window stayed hidden under the message"
probe wait-status "$TITLE" 1 "Start failed" 5000 || fail "pane 1 shows '$(probe status "$TITLE" 1)'"
probe click-button Error 1
probe wait-gone Error 5000 || fail "OK did not close the message"
echo "Cancel starts nothing, recordings take free names with the file's count shown," \
  "a failed start shows the window and says so"
