#!/bin/bash
# Builds mp4_fragment_bench in an optimised host tree of its own
# (build/bench_host, or BUILD_DIR), records a one-hour fragmented MP4 from a
# second of real H.264 and AAC repeated, and prints how long Close took and
# how long ffmpeg takes to show the picture at 3000 s, from the start of
# the file (it reads every fragment's header) and with the random-access
# index at the end, and how long headless chromium takes to show it (from
# its start). The file is deleted afterwards.
# Usage: bench/mp4_fragments.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench_host}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target mp4_fragment_bench -j2 >/dev/null
work=$(mktemp -d "$build/mp4_fragments.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=10:duration=1 -pix_fmt yuv420p \
  -c:v libx264 -preset veryfast -g 10 -bf 0 -f h264 v.h264
ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=48000:duration=1 -ac 2 \
  -c:a aac -f adts a.aac
"$build/tests/host/mp4_fragment_bench" v.h264 a.aac hour.mp4
seek() {
  local start end
  start=$(date +%s.%N)
  ffmpeg -nostdin -v error "$@" -ss 3000 -i hour.mp4 -frames:v 1 -f null -
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}
echo "ffmpeg -ss 3000 -frames:v 1: $(seek) s; with -use_mfra_for pts: $(seek -use_mfra_for pts) s"
start=$(date +%s.%N)
seeked=$(bash "$root/tests/e2e/browser_play.sh" "$work/hour.mp4" 60 3000) || seeked="failed: $seeked"
echo "chromium, to the picture at 3000 s: $(echo "$(date +%s.%N) - $start" | bc) s ($seeked)"
