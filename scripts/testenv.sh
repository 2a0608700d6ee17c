#!/bin/bash
# Runs a command inside a private test environment and tears it down again:
#   - an Xvfb display, 1024 x 768 at 24-bit depth (TESTENV_SIZE and
#     TESTENV_DEPTH to change);
#   - a PulseAudio server with a null sink, in a private runtime directory;
#   - a private WINEPREFIX under the build tree, WINEDEBUG=-all.
# Everything started here is stopped when the command ends, fails, hangs past
# TESTENV_TIMEOUT seconds (default 1800) or the script is interrupted.
#
# Usage: scripts/testenv.sh BUILD_DIR COMMAND [ARGS...]
# Inside, scripts/in-desktop.sh starts a program in a Wine virtual desktop.
set -u

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR COMMAND [ARGS...]" >&2
  exit 2
fi
build_dir=$(mkdir -p "$1" && cd "$1" && pwd)
shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: their installers would ask for a download.
export WINEDLLOVERRIDES="mscoree=;mshtml="

runtime=$(mktemp -d "${TMPDIR:-/tmp}/brantle-testenv.XXXXXX")
# Every process started from here on inherits this marker, which is how the
# clean-up finds whatever is still running, Wine's background services too.
export BRANTLE_TESTENV="$runtime"

# Sends a signal to every marked process but this script; prints how many.
signal_marked() {
  local n=0 env pid
  for env in /proc/[0-9]*/environ; do
    pid=${env#/proc/}
    pid=${pid%/environ}
    [ "$pid" = "$$" ] && continue
    if grep -qzx "BRANTLE_TESTENV=$runtime" "$env" 2>/dev/null; then
      kill "-$1" "$pid" 2>/dev/null && n=$((n + 1))
    fi
  done
  echo "$n"
}

stop_all() {
  trap - EXIT INT TERM
  wineserver -k >/dev/null 2>&1
  local deadline=$((SECONDS + 10))
  while [ "$(signal_marked TERM)" -gt 0 ] && [ $SECONDS -lt $deadline ]; do
    sleep 0.2
  done
  signal_marked KILL >/dev/null
  wait 2>/dev/null
  rm -rf "$runtime"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Polls a command until it succeeds, for at most $1 seconds.
wait_for() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then return 1; fi
    sleep 0.1
  done
}

Xvfb -displayfd 3 -screen 0 "${TESTENV_SIZE:-1024x768}x${TESTENV_DEPTH:-24}" -nolisten tcp 3>"$runtime/display" \
  >"$runtime/xvfb.log" 2>&1 &
if ! wait_for 15 test -s "$runtime/display"; then
  echo "testenv: Xvfb did not start" >&2
  cat "$runtime/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$runtime/display")"

export XDG_RUNTIME_DIR="$runtime"
export PULSE_RUNTIME_PATH="$runtime/pulse"
export PULSE_STATE_PATH="$runtime/pulse-state"
export PULSE_SERVER="unix:$runtime/pulse/native"
mkdir -p "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  --disallow-module-loading --log-target=file:"$runtime/pulse.log" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$runtime/pulse/native" \
  --load="module-null-sink sink_name=null" >/dev/null 2>&1 &
if ! wait_for 15 pactl info; then
  echo "testenv: PulseAudio did not start" >&2
  cat "$runtime/pulse.log" >&2
  exit 1
fi

# One server for the whole run, started before anything else of Wine's:
# a server that a Wine program starts ends a moment after its last
# program, and a program that starts just then can fail (a registry
# write did). It needs the prefix's folder to exist.
mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 || { echo "testenv: wineserver did not start" >&2; exit 1; }
# A fresh prefix is made once and kept with the build tree. Booting it here
# also starts Wine's background services with their output discarded, so
# they never hold the command's output pipe open.
[ -f "$WINEPREFIX/system.reg" ] || echo "testenv: creating the Wine prefix $WINEPREFIX" >&2
wineboot --init >/dev/null 2>&1

timeout --kill-after=10 "${TESTENV_TIMEOUT:-1800}" "$@"
