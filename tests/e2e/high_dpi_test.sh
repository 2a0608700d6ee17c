#!/bin/bash
# brantle.exe on a screen of 144 dots per inch (Wine's LogPixels), in the
# virtual desktop: the main window takes its size at that density (720 x
# 540 for its 480 x 360), every dialog opens inside the screen, and a
# full-screen recording holds the screen's real 1024 x 768 pixels. With
# BRANTLE_SHOT_DIR set, screenshots of the main window and of each dialog
# are left there. The prefix's density is put back afterwards.
# Usage: high_dpi_test.sh APP_PROBE.exe BRANTLE.exe WORK_DIR
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

DENSITY_KEY='HKCU\Control Panel\Desktop'
DPI=144

# The prefix's density, as a decimal number (96 when it names none).
density() {
  local hex
  hex=$(wine reg query "$DENSITY_KEY" /v LogPixels 2>/dev/null | tr -d '\r' \
    | sed -n 's/.*REG_DWORD *0x\([0-9a-fA-F]*\).*/\1/p')
  echo $((16#${hex:-60}))
}

# Sets the density; Wine's processes read it when they start, so every one
# of this prefix is ended first, and the run's persistent server started
# again (scripts/testenv.sh).
set_density() {
  wineserver -k
  wineserver -w
  # Its output discarded: a server holding the output pipe keeps CTest waiting.
  wineserver -p >/dev/null 2>&1 || fail "wineserver did not start again"
  wine reg add "$DENSITY_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 \
    || fail "cannot set LogPixels to $1"
}

before=$(density)
restore() {
  finish_app
  set_density "$before"
}
trap restore EXIT

shot() {
  [ -n "${BRANTLE_SHOT_DIR:-}" ] || return 0
  mkdir -p "$BRANTLE_SHOT_DIR"
  import -window root "$BRANTLE_SHOT_DIR/dpi$DPI-$1.png"
}

rm -rf "$work"
mkdir -p "$work"
avi="$work/screen.avi"
set_density "$DPI"
[ "$(density)" = "$DPI" ] || fail "LogPixels reads $(density), not $DPI"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_dword RecordAudio 0
set_string SavePath "$(winepath -w "$avi")"

start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
probe wait-visible "$TITLE" yes 5000 || fail "the main window is not shown"
read -r left top right bottom _ _ < <(probe rect "$TITLE")
echo "main window at $DPI dpi: $((right - left)) x $((bottom - top))"
[ $((right - left)) = 720 ] && [ $((bottom - top)) = 540 ] \
  || fail "the main window is $((right - left)) x $((bottom - top)), not 720 x 540"
shot main

# Usage: check_dialog COMMAND_ID CAPTION NAME [ok]
# Closed by its close box, or with "ok" by its OK button (the About box's
# close box opens the website).
check_dialog() {
  probe command "$TITLE" "$1" || fail "cannot send command $1"
  probe wait-dialog "$2" 10000 || fail "no dialog '$2'"
  local d_left d_top d_right d_bottom
  read -r d_left d_top d_right d_bottom _ _ < <(probe rect "$2")
  echo "$3 dialog: $((d_right - d_left)) x $((d_bottom - d_top)) at $d_left,$d_top"
  [ "$d_left" -ge 0 ] && [ "$d_top" -ge 0 ] && [ "$d_right" -le 1024 ] && [ "$d_bottom" -le 768 ] \
    || fail "the $3 dialog reaches outside the screen: $d_left $d_top $d_right $d_bottom"
  shot "$3"
  if [ "${4:-}" = ok ]; then probe click-button "$2" 1; else probe close "$2"; fi
  probe wait-gone "$2" 5000 || fail "the $3 dialog did not close"
}
check_dialog 32771 "Record Option" video
check_dialog 32772 "Audio Options" audio
check_dialog 32773 "Option" option
check_dialog 32798 "$OUTPUT_DIALOG" output
check_dialog 32790 "HotKey Options" hotkey
check_dialog 57664 "About Brantle for Windows" about ok

desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B did not start a recording"
wait_frames_above 5 20 || fail "no frames: $(probe status "$TITLE" 2)"
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
info=$(ffprobe -v error -of default=nw=1 -show_entries stream=width,height "$avi")
echo "$info"
grep -qx 'width=1024' <<<"$info" && grep -qx 'height=768' <<<"$info" \
  || fail "the full-screen film is not the screen's 1024 x 768 pixels: $info"
errors=$(ffmpeg -v error -i "$avi" -f null - 2>&1)
[ -z "$errors" ] || fail "ffmpeg decode errors: $errors"
echo "high density: window, dialogs and recording as expected"
