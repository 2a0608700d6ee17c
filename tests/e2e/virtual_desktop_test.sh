#!/bin/bash
# The end-to-end tests run programs in a Wine virtual desktop that fills the
# test display. Checks that scripts/in-desktop.sh gives one 1024 x 768 X
# window named after the desktop, with the program running in it.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)

# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"

# Polls a command until it prints something, for at most 30 seconds.
wait_for_output() {
  local deadline=$((SECONDS + 30)) out
  while [ $SECONDS -lt $deadline ]; do
    out=$("$@" 2>/dev/null) && [ -n "$out" ] && { echo "$out"; return 0; }
    sleep 0.2
  done
  return 1
}

# Ends notepad, so the desktop closes and the next test starts on an empty
# screen.
end_notepad() {
  local pid
  for pid in $(program_pids notepad); do kill -KILL "$pid" 2>/dev/null; done
}
trap end_notepad EXIT
close_desktop

"$root/scripts/in-desktop.sh" notepad >/dev/null 2>&1 &
desktop=$(wait_for_output xdotool search --name '^brantle - Wine desktop$') \
  || fail "no virtual desktop window appeared"
geometry=$(xdotool getwindowgeometry "$desktop" | grep Geometry)
[ "$geometry" = "  Geometry: 1024x768" ] || fail "desktop window is '$geometry'"

wait_for_output program_pids notepad >/dev/null \
  || fail "notepad did not start in the desktop; Wine's processes: $(pgrep -af 'exe|notepad' | tr '\n' ';')"
echo "virtual desktop $desktop: 1024x768, program running"
