#!/bin/bash
# The converter's window, driven as a user does in the virtual desktop:
# opened with a recording chosen (as the recorder's Convert command opens
# it), Convert then Cancel leaves no film and no unfinished file behind;
# Convert again makes the film and says so; started with the files on its
# command line it converts at once and closes by itself.
# Usage: converter_window_test.sh APP_PROBE.exe ZMBV_FILE_MAKER.exe AVI2MPG.exe WORK_DIR
set -u
APP_PROBE=$1
maker=$2
converter=$3
work=$4
here=$(dirname "$0")
root=$(cd "$here/../.." && pwd)
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
close_desktop

CONVERTER="Brantle Converter"
IDC_CONVERT=1006
IDC_TIMES=1008
IDC_STATE=1009
rm -rf "$work"
mkdir -p "$work"
avi="$work/scene.avi"
mp4="$work/scene.mp4"
# 30 s of a screen-like scene at full HD width: long enough to cancel.
wine "$maker" "$(winepath -w "$avi")" 'Z:\dev\null' 1280 720 300 50 >/dev/null || fail "no recording"

launcher=""
finish() {
  probe close "$CONVERTER" >/dev/null 2>&1
  [ -n "$launcher" ] && { wait_job_end "$launcher" 10 || kill -KILL "$launcher" 2>/dev/null; }
  for pid in $(program_pids avi2mpg.exe); do kill -KILL "$pid" 2>/dev/null; done
}
trap finish EXIT
# Usage: wait_state TEXT LIMIT: the window's state line shows TEXT.
wait_state() {
  local deadline=$((SECONDS + $2))
  until [ "$(probe dialog-text "$CONVERTER" $IDC_STATE 2>/dev/null | tr -d '\r')" = "$1" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

"$root/scripts/in-desktop.sh" "$converter" /preset "$(winepath -w "$avi")" >"$work/window.log" 2>&1 &
launcher=$!
probe wait-dialog "$CONVERTER" 20000 || fail "the converter's window did not appear"
[ "$(probe dialog-text "$CONVERTER" 1003)" = "$(winepath -w "$mp4")" ] \
  || fail "the offered film: '$(probe dialog-text "$CONVERTER" 1003)'"

probe click-button "$CONVERTER" $IDC_CONVERT
wait_state "Converting $(winepath -w "$avi") ..." 5 \
  || fail "Convert did not start"
probe click-button "$CONVERTER" 2
wait_state "Cancelled: no film was written." 30 \
  || fail "Cancel did not end the conversion: $(probe dialog-text "$CONVERTER" $IDC_STATE)"
[ ! -e "$mp4" ] && [ ! -e "$mp4.part" ] || fail "a cancelled conversion left $(ls "$work")"

probe click-button "$CONVERTER" $IDC_CONVERT
wait_state "Done: $(winepath -w "$mp4")" 120 \
  || fail "the conversion did not finish: $(probe dialog-text "$CONVERTER" $IDC_STATE)"
[[ "$(probe dialog-text "$CONVERTER" $IDC_TIMES)" == "Elapsed "* ]] || fail "no times shown"
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries \
  stream=codec_name,width,height,nb_read_frames -of csv=p=0 "$mp4")
[ "$frames" = "h264,1280,720,300" ] || fail "the film: $frames"
probe click-button "$CONVERTER" 2
probe wait-gone "$CONVERTER" 10000 || fail "Close did not close the window"
wait_job_end "$launcher" 10 || fail "the converter did not end"

# --- the command line: at once, then closed -----------------------------------------
"$root/scripts/in-desktop.sh" "$converter" "$(winepath -w "$avi")" "$(winepath -w "$work/again.mp4")" \
  >"$work/line.log" 2>&1 &
launcher=$!
probe wait-dialog "$CONVERTER" 20000 || fail "the converter showed no progress"
probe wait-gone "$CONVERTER" 120000 || fail "the converter did not close when done"
wait_job_end "$launcher" 10 || fail "the converter did not end"
[ -s "$work/again.mp4" ] && [ ! -e "$work/again.mp4.part" ] || fail "no film from the command line"
echo "window: Cancel leaves nothing, Convert makes the film; command line converts and closes"
