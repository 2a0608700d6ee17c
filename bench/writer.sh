#!/bin/bash
# Builds writer_bench.exe in a Windows tree (build/win64, or BUILD_DIR) and
# prints its table, run under Wine in the test environment: what our AVI
# writer adds per 1920 x 1080 frame, with the disk flush twice a second and
# with none. Each case hands its frames over in real time (600 frames take
# 60 s at 10 a second), so the whole run takes about 8 minutes; the largest
# case writes 3.7 GB into a folder of the build tree, deleted afterwards.
# Usage: bench/writer.sh [FRAMES]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/win64}
"$root/third_party/build.sh"
third_party=$("$root/third_party/build.sh" --dir)
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRANTLE_THIRD_PARTY_DIR="$third_party" >/dev/null
cmake --build "$build" --target writer_bench -j"$(nproc)" >/dev/null

work="$build/writer_bench"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
frames=${1:-600}
need=$((frames * 6220808 * 3 / 2))
free=$(df --output=avail -B1 "$work" | tail -n1)
if [ "$free" -lt "$need" ]; then
  echo "writer.sh: $free bytes free in $work, $need needed" >&2
  exit 1
fi
# shellcheck disable=SC2016  # expanded by the inner shell
"$root/scripts/testenv.sh" "$build" \
  bash -c 'wine "$1" "$(winepath -w "$2")" "$3" | tr -d "\r"' _ \
  "$build/tests/e2e/writer_bench.exe" "$work" "$frames"
