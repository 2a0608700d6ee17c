#!/bin/bash
# The converter beside ffmpeg's own H.264 and AAC defaults on the same
# recording: a 1920 x 1080 recording of real screen content (bench/scene.sh's
# scrolling terminal, clock and moving window, recorded by the real recording
# thread through bench/pipeline.sh), or the AVI given. Prints a line each
# (ours; ffmpeg's defaults; ffmpeg with 4:2:0 as ours): seconds, times real
# time, bytes, and PSNR against the recording.
# Usage: bench/convert.sh [RECORDING.avi]   (BUILD_DIR: the Windows tree)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/win64}
cmake --build "$build" --target avi2mpg -j"$(nproc)" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
recording=${1:-}
if [ -z "$recording" ]; then
  recording="$work/screen.avi"
  KEEP="$recording" "$root/bench/pipeline.sh" 1920x1080 100 30 >/dev/null
fi
length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$recording")

# Usage: report NAME SECONDS FILM
report() {
  local psnr
  psnr=$(ffmpeg -i "$3" -i "$recording" -lavfi "[0:v][1:v]psnr" -f null - 2>&1 |
    sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p')
  awk -v n="$1" -v s="$2" -v l="$length" -v b="$(stat -c %s "$3")" -v p="$psnr" \
    'BEGIN { printf "%-15s %6.1f s  %5.1fx real time  %10d bytes  PSNR %s dB\n", n, s, l / s, b, p }'
}

"$root/scripts/testenv.sh" "$build" bash -c '
  start=$(date +%s.%N)
  wine "$1" /q "$(winepath -w "$2")" "$(winepath -w "$3")" || exit 1
  echo "$start $(date +%s.%N)" > "$4"' _ "$build/avi2mpg.exe" "$recording" "$work/ours.mp4" "$work/ours.time"
read -r start end <"$work/ours.time"
report ours "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$work/ours.mp4"

# ffmpeg's defaults make High 4:4:4 from screen pictures, which browsers and
# phones do not play; with 4:2:0 it makes what ours does.
for pixels in "" yuv420p; do
  start=$(date +%s.%N)
  ffmpeg -v error -y -i "$recording" -c:v libx264 ${pixels:+-pix_fmt $pixels} -c:a aac "$work/theirs.mp4"
  report "ffmpeg${pixels:+-$pixels}" "$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')" \
    "$work/theirs.mp4"
done
