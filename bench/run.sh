#!/bin/bash
# Builds the Video 1 benchmark natively (optimised as the program is) and
# prints its table: our encoder beside ffmpeg's msvideo1 on the same frames.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/bench"
mkdir -p "$out/work"
g++ -std=c++17 -O2 -g -Wall -Wextra -Wpedantic -Werror -I"$root" -o "$out/video1_bench" \
  "$root"/bench/{FfmpegRun,ScreenFrames,Video1Bench}.cpp "$root"/codecs/Video1Block.cpp "$root"/codecs/Video1Encoder.cpp \
  "$root"/codecs/Video1Pixels.cpp "$root"/tests/support/Video1Decoder.cpp
"$out/video1_bench" "$out/work"
rm -f "$out/work/frames.raw"
