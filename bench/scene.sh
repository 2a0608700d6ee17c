#!/bin/bash
# Puts a scene of real screen content on the X display $DISPLAY and returns
# once its windows are up; what moves keeps moving until the display goes.
#   busy   a terminal listing files without pause (its text jumps many lines
#          a frame), a clock, and a smaller terminal window moving across
#   scrolling  as busy, but the big terminal scrolls a line every 30 ms, as
#          a log being followed does, rather than as fast as the terminal can
#   quiet  text typed into a terminal a few characters a second, and a clock
# Usage: bench/scene.sh busy|scrolling|quiet WIDTH HEIGHT
set -eu
[ $# -eq 3 ] || { echo "usage: $0 busy|scrolling|quiet WIDTH HEIGHT" >&2; exit 2; }
scene=$1 width=$2 height=$3

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
  busy|scrolling)
    if [ "$scene" = busy ]; then
      listing='while true; do ls -l /usr/lib | head -400; done'
    else
      listing='while true; do ls -l /usr/lib | head -400 |
        while IFS= read -r line; do printf "%s\n" "$line"; sleep 0.03; done; done'
    fi
    xterm -geometry 120x40+10+10 -fa Monospace -fs 10 -e bash -c "$listing" >/dev/null 2>&1 &
    window_of $! >/dev/null
    xterm -geometry 60x15+300+300 -e bash -c 'while true; do date; sleep 0.2; done' \
      >/dev/null 2>&1 &
    mover=$(window_of $!)
    # Back and forth along a diagonal, 8 x 3 pixels a tenth of a second,
    # until the window or the display is gone.
    (i=0; while true; do
      step=$((i % 240)); [ $step -ge 120 ] && step=$((240 - step))
      xdotool windowmove --sync "$mover" $((300 + step * 8)) $((300 + step * 3)) \
        >/dev/null 2>&1 || exit 0
      i=$((i + 1))
      sleep 0.1
    done) >/dev/null 2>&1 &
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
