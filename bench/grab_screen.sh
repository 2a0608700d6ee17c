#!/bin/bash
# Grabs 100 frames (10 a second) of a real X screen into a raw file of
# top-down BGRA frames, for bench/run.sh --frames. The screen is a private
# Xvfb display of the given size showing one of bench/scene.sh's scenes.
# Usage: bench/grab_screen.sh WIDTH HEIGHT busy|quiet OUT.raw
set -eu
[ $# -eq 4 ] || { echo "usage: $0 WIDTH HEIGHT busy|quiet OUT.raw" >&2; exit 2; }
width=$1 height=$2 scene=$3 out=$4
display=:$((90 + RANDOM % 100))

Xvfb "$display" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
kill -0 "$server"
"$(dirname "$0")/scene.sh" "$scene" "$width" "$height"

ffmpeg -v error -y -f x11grab -framerate 10 -video_size "${width}x${height}" -i "$display" \
  -frames:v 100 -f rawvideo -pix_fmt bgra "$out"
echo "$out: $(stat -c %s "$out") bytes, 100 frames of ${width}x${height}"
