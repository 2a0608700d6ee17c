#!/bin/bash
# Installs what is missing, builds the recorder and starts it: on the X
# display when there is one, otherwise headless (scripts/demo.sh). Builds
# only the win64 tree's targets it runs, not the tests (scripts/build.sh
# builds everything).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"
# A hang ends the headless run after this many seconds.
demo_limit=180

"$root/scripts/setup.sh"
# The encoders of MP4 recording, built once per machine into the user's cache.
"$root/third_party/build.sh"
third_party=$("$root/third_party/build.sh" --dir)

# Usage: build_targets TARGET...
build_targets() {
  echo "Building $* in $build..."
  cmake -S "$root" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRANTLE_THIRD_PARTY_DIR="$third_party" >/dev/null || { echo "run.sh: cmake could not configure $build" >&2; exit 1; }
  cmake --build "$build" -j"$(nproc)" --target "$@" >/dev/null \
    || { echo "run.sh: building $* failed" >&2; exit 1; }
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  build_targets brantle
  exec wine "$build/brantle.exe"
fi

# hook.dll is built with the program; app_probe drives its windows.
build_targets brantle app_probe
echo "No X display: showing the recorder's main job headless."
status=0
TESTENV_TIMEOUT=$demo_limit "$root/scripts/testenv.sh" "$build" bash "$root/scripts/demo.sh" \
  "$build/tests/e2e/app_probe.exe" "$build/brantle.exe" "$root/build/demo" || status=$?
case $status in 124 | 137) echo "run.sh: the demo did not end within $demo_limit s" >&2 ;; esac
exit $status
