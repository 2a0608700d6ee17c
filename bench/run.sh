#!/bin/bash
# Builds the codec benchmark natively (optimised as the program is) and
# prints its table: our ZMBV and Video 1 encoders beside ffmpeg's zmbv and
# msvideo1 on the same frames, and our ZMBV decoder beside ffmpeg's.
# Usage: bench/run.sh [--frames FILE.raw WxH] [--keep DIR]
#   FILE.raw holds top-down BGRA frames (ffmpeg -f rawvideo -pix_fmt bgra);
#   without it the benchmark draws screen-like frames of its own.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/bench"
mkdir -p "$out/work"
g++ -std=c++17 -O2 -g -Wall -Wextra -Wpedantic -Werror -I"$root" -o "$out/codec_bench" \
  "$root"/bench/{BenchFrames,CodecBench,CodecRuns,FfmpegRun,ScreenFrames}.cpp \
  "$root"/codecs/Video1{Block,Encoder,Pixels}.cpp "$root"/codecs/Zmbv{Decoder,Deflater,Encoder,Inflater,Motion,Pixels}.cpp \
  "$root"/avi/{AviHeader,AviIndex,AviWriter}.cpp \
  "$root"/tests/support/{MemoryFile,Video1Decoder}.cpp -lz
"$out/codec_bench" "$out/work" "$@"
