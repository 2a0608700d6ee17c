#!/bin/bash
# Installs what is missing, builds the recorder and starts it: on the X
# display when there is one, otherwise headless (scripts/demo.sh).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
build="$root/build/win64"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$build/brantle.exe"
fi

echo "No X display: showing the recorder's main job headless."
exec "$root/scripts/testenv.sh" "$build" bash "$root/scripts/demo.sh" \
  "$build/tests/e2e/app_probe.exe" "$build/brantle.exe" "$root/build/demo"
