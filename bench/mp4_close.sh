#!/bin/bash
# Builds mp4_close_bench in an optimised host tree of its own (build/bench_host,
# or BUILD_DIR) and prints how long our MP4 writer's Close takes for a film of
# about 2 GB on this disk, with and without a move of the media data. It
# writes into a folder of that tree (2 GB free needed), deleted afterwards.
# Usage: bench/mp4_close.sh [MEGABYTES]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench_host}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target mp4_close_bench -j"$(nproc)" >/dev/null
work="$build/mp4_close_bench"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
"$build/tests/host/mp4_close_bench" "$work" "${1:-2048}"
