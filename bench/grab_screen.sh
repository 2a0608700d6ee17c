#!/bin/bash
# Grabs 100 frames (10 a second) of a real X screen into a raw file of
# top-down BGRA frames, for bench/run.sh --frames. The screen is a private
# Xvfb display of the given size showing one of two scenes:
#   busy   a terminal listing files without pause (its text jumps many lines
#          a frame), a clock, and a smaller terminal window moving across
#   quiet  text typed into a terminal a few characters a second, and a clock
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

# Waits (up to 10 s) for a window of this process to be mapped; prints its id.
window_of() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -1 | grep . && return
    sleep 0.1
  done
  echo "no window of process $1" >&2
  return 1
}

xclock -geometry 200x200+$((width - 260))+20 -update 1 >/dev/null 2>&1 &
window_of $! >/dev/null
case $scene in
  busy)
    xterm -geometry 120x40+10+10 -fa Monospace -fs 10 \
      -e bash -c 'while true; do ls -l /usr/lib | head -400; done' >/dev/null 2>&1 &
    window_of $! >/dev/null
    xterm -geometry 60x15+300+300 -e bash -c 'while true; do date; sleep 0.2; done' \
      >/dev/null 2>&1 &
    mover=$(window_of $!)
    (for i in $(seq 1 120); do
      xdotool windowmove --sync "$mover" $((300 + i * 8)) $((300 + i * 3)) 2>/dev/null
      sleep 0.1
    done) &
    ;;
  quiet)
    xterm -geometry 100x35+40+40 -fa Monospace -fs 11 -e bash -c '
      text="The quick brown fox jumps over the lazy dog while the recorder keeps every pixel. "
      while true; do
        for ((i = 0; i < ${#text}; i++)); do printf %s "${text:i:1}"; sleep 0.15; done
        echo
      done' >/dev/null 2>&1 &
    window_of $! >/dev/null
    ;;
  *) echo "unknown scene: $scene" >&2; exit 2 ;;
esac

ffmpeg -v error -y -f x11grab -framerate 10 -video_size "${width}x${height}" -i "$display" \
  -frames:v 100 -f rawvideo -pix_fmt bgra "$out"
echo "$out: $(stat -c %s "$out") bytes, 100 frames of ${width}x${height}"
