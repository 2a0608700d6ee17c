#!/bin/bash
# Builds pipeline_bench.exe in a Windows tree (build/win64, or BUILD_DIR)
# and runs it under Wine in the test environment on an Xvfb screen of the
# given size: the whole screen recorded for SECONDS at INTERVAL ms with the
# given compressor (zmbv, the default, msvc, or h264: straight to MP4),
# while the screen shows
# SCENE:
#   scrolling (the default), busy or quiet: bench/scene.sh's X programs on
#          the X screen itself (scrolling: a terminal following a log, a
#          clock, a window moving; busy has the terminal list files as fast
#          as it can, which keeps the terminal and Xvfb on a core of their
#          own); Wine reads this screen from the X server
#   desktop: desktop_scene.exe's Windows windows (a log scrolling, a clock
#          window moving) in a Wine virtual desktop that fills the screen,
#          where Wine keeps the screen in its own memory
# Prints one line:
#   positions=P frames=F filled=X% grab_ms=G compress_ms=C write_ms=W cpu=U%
#   mb_per_minute=M
# (medians per frame; cpu is the recorder's processor time as a share of
# one core; M the file's megabytes per minute of film) and below it the 95th percentiles.
# With KEEP=FILE.avi the recording is kept there; KEYFRAMES=N sets the
# key-frame spacing (the program's default: 5).
# Usage: [SCENE=...] [KEEP=FILE.avi] [KEYFRAMES=N] bench/pipeline.sh WxH INTERVAL SECONDS [zmbv|msvc|h264]
set -eu
[ $# -ge 3 ] || { echo "usage: $0 WxH INTERVAL SECONDS [zmbv|msvc|h264]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/win64}
size=$1 interval=$2 seconds=$3 codec=${4:-zmbv} scene=${SCENE:-scrolling}
extension=avi
[ "$codec" = h264 ] && extension=mp4
"$root/third_party/build.sh"
third_party=$("$root/third_party/build.sh" --dir)
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRANTLE_THIRD_PARTY_DIR="$third_party" >/dev/null
cmake --build "$build" --target pipeline_bench desktop_scene -j"$(nproc)" >/dev/null

work="$build/pipeline_bench"
mkdir -p "$work"
trap '[ -n "${KEEP:-}" ] && cp "$work/screen.$extension" "$KEEP"; rm -rf "$work"' EXIT
bin="$build/tests/e2e"
if [ "$scene" = desktop ]; then
  # shellcheck disable=SC2016  # expanded by the inner shell
  TESTENV_SIZE=$size "$root/scripts/testenv.sh" "$build" bash -c '
    w() { winepath -w "$1"; }
    wine explorer /desktop=bench,"$1" cmd /c \
      "$(w "$2/pipeline_bench.exe") $(w "$3/screen.$7") $4 $5 $6 $(w "$2/desktop_scene.exe") > $(w "$3/report.txt")"
    tr -d "\r" < "$3/report.txt"' _ \
    "$size" "$bin" "$work" "$interval" "$seconds" "$codec" "$extension"
  exit
fi
# shellcheck disable=SC2016  # expanded by the inner shell
TESTENV_SIZE=$size "$root/scripts/testenv.sh" "$build" bash -c '
  "$1" "$8" "${2%x*}" "${2#*x}"
  wine "$3" "$(winepath -w "$4")" "$5" "$6" "$7" | tr -d "\r"' _ \
  "$root/bench/scene.sh" "$size" "$bin/pipeline_bench.exe" "$work/screen.$extension" \
  "$interval" "$seconds" "$codec" "$scene"
