#!/bin/bash
# The recorder's main job, shown without a display; run by scripts/run.sh
# inside scripts/testenv.sh. Starts brantle.exe in a 1024 x 768 virtual
# desktop with the pointer circling on it, records about 5 s of the full
# screen through the program's own hotkeys, stops, and tells what the file
# holds and where a picture of one of its frames is.
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

mkdir -p "$out"
avi="$out/screen.avi"
rm -f "$avi"
reset_settings
set_dword RegionType 2
set_dword Minimize 1
set_string SavePath "$(winepath -w "$avi")"

echo "Starting the recorder in a virtual desktop..."
start_app "$out/brantle.log"
probe wait-window "$TITLE" 30000 >/dev/null || fail "the main window did not appear"
desktop=$(desktop_window) || fail "no desktop window"
mapfile -t circle < <(awk 'BEGIN { for (i = 0; i < 24; i++)
  printf "%d %d\n", 512 + 200 * cos(i * 3.14159 / 12), 384 + 150 * sin(i * 3.14159 / 12) }')
(
  while :; do
    for point in "${circle[@]}"; do
      # shellcheck disable=SC2086
      xdotool mousemove --window "$desktop" $point 2>/dev/null
      sleep 0.05
    done
  done
) &
helper_jobs+=($!)

echo "Ctrl+B: recording the full screen for about 5 s..."
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 >/dev/null || fail "Ctrl+B did not start a recording"
sleep 5
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 >/dev/null || fail "Ctrl+E did not stop"
echo "Ctrl+E: stopped; the status bar read: $(probe status "$TITLE" 2)"

echo "Recorded $avi:"
ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,r_frame_rate,nb_frames \
  -show_entries format=duration -of compact=p=0 "$avi" || fail "ffprobe cannot read the file"
ffmpeg -v error -y -ss 2 -i "$avi" -frames:v 1 "$out/frame.png" || fail "no frame could be decoded"
echo "A picture of the frame at 2 s: $out/frame.png"
