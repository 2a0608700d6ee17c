#!/bin/bash
# Fuzzes the ZMBV decoder for longer than the test run does, keeping what
# it learns in build/fuzz/corpus between runs, and prints libFuzzer's
# figures (executions, speed, coverage). A crash leaves its input in
# build/fuzz/ and ends the run with a non-zero status.
# Usage: bench/fuzz.sh [SECONDS]   (600 by default)
set -eu
seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build/host" >/dev/null
cmake --build "$root/build/host" --target zmbv_stream_fuzzer >/dev/null
out="$root/build/fuzz"
mkdir -p "$out/corpus"
cd "$out"
"$root/build/host/tests/fuzz/zmbv_stream_fuzzer" -max_total_time="$seconds" -max_len=65536 \
  -malloc_limit_mb=512 -rss_limit_mb=2048 -print_final_stats=1 corpus 2>&1 |
  grep -E "^(#[0-9]+.*DONE|stat::|==[0-9]+==|SUMMARY|Done)|crash-|leak-|oom-|timeout-"
