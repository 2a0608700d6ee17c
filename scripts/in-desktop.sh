#!/bin/bash
# Starts a Windows program inside a Wine virtual desktop that fills the test
# display, where global hotkeys and mouse hooks see the X input events sent
# to the desktop window. Must run inside scripts/testenv.sh.
#
# Usage: scripts/in-desktop.sh PROGRAM.exe [ARGS...]
set -eu
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "in-desktop.sh: run me inside scripts/testenv.sh" >&2
  exit 2
fi
exec wine explorer /desktop=brantle,1024x768 "$@"
