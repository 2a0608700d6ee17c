#!/bin/bash
# app_probe's window commands, proved on app_stand_in.exe in the virtual
# desktop: geometry and style, status bar panes read and waited for, menu and
# toolbar states as the window sets them, a dialog filled in and confirmed, a
# message box read and closed, failures and wrong usage reported as such.
# Usage: app_probe_test.sh APP_PROBE.exe APP_STAND_IN.exe WORK_DIR
set -u
APP_PROBE=$1
stand_in=$2
work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
# shellcheck source=tray.sh
source "$(dirname "$0")/tray.sh"

title="App Stand-In"
start=40001
pause=40002
stop=40003
name=40004
about=40005

# Usage: expect WHAT ACTUAL EXPECTED
expect() {
  [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}

mkdir -p "$work"
close_desktop
"$root/scripts/in-desktop.sh" "$stand_in" >"$work/stand_in.log" 2>&1 &
probe wait-window "$title" 20000 || fail "the stand-in did not start"

read -r left top right bottom client_width client_height < <(probe rect "$title")
expect "window size" "$((right - left))x$((bottom - top))" 480x360
expect "window centre" "$(((left + right) / 2)),$(((top + bottom) / 2))" 512,384
[ "$client_width" -gt 400 ] && [ "$client_height" -gt 250 ] && [ "$client_width" -lt 480 ] \
  || fail "client area ${client_width}x$client_height"
style=$(probe style "$title")
(( (style & 0x00040000) == 0 && (style & 0x00010000) == 0 && (style & 0x00020000) != 0 )) \
  || fail "style $style: want no sizing frame or maximise box, a minimise box"

expect "state pane" "$(probe status "$title" 1)" Idle
expect "clock pane" "$(probe status "$title" 2)" "0 sec  0  frames"
expect "Start" "$(probe menu-state "$title" $start)" enabled
expect "Pause" "$(probe menu-state "$title" $pause)" disabled
expect "Stop button" "$(probe toolbar-state "$title" $stop)" disabled

probe command "$title" $start
probe wait-status "$title" 1 Recording 5000 || fail "not recording"
probe wait-status-match "$title" 2 '[1-9][0-9]* sec  [0-9]+  frames' 5000 \
  || fail "the clock did not reach a second"
expect "Start while recording" "$(probe menu-state "$title" $start)" disabled
expect "Stop button while recording" "$(probe toolbar-state "$title" $stop)" enabled

probe command "$title" $pause
probe wait-status "$title" 1 Paused 5000 || fail "not paused"
expect "Pause while paused" "$(probe menu-state "$title" $pause)" "disabled checked"
expect "Pause button while paused" "$(probe toolbar-state "$title" $pause)" "disabled checked"
if probe wait-status "$title" 1 Recording 300 2>"$work/miss.txt"; then
  fail "waiting for a text the pane does not show succeeded"
fi
grep -q "shows 'Paused'" "$work/miss.txt" || fail "the failure does not tell: $(cat "$work/miss.txt")"

probe command "$title" $name
probe wait-dialog "Stand-In Name" 5000 || fail "no name dialog"
probe set-text "Stand-In Name" 1001 "clip one" || fail "cannot fill in the name"
expect "name field" "$(probe dialog-text "Stand-In Name" 1001)" "clip one"
probe click-button "Stand-In Name" 1
probe wait-gone "Stand-In Name" 5000 || fail "OK did not close the dialog"
probe wait-status "$title" 0 "Name: clip one" 5000 || fail "the dialog's text did not arrive"

probe command "$title" $about
probe wait-dialog "About App Stand-In" 5000 || fail "no message box"
expect "message" "$(probe message-text "About App Stand-In")" "App Stand-In 1.0"
probe click-button "About App Stand-In" 1
probe wait-gone "About App Stand-In" 5000 || fail "OK did not close the message box"

probe menu-state "$title" 40999 2>/dev/null && fail "a missing menu item has a state"
probe wait-window "No Such Window" 200 2>/dev/null && fail "found a window that is not there"
probe >/dev/null 2>&1
expect "exit code without a command" $? 2
probe rect 2>/dev/null
expect "exit code with an argument missing" $? 2
probe wait-window "$title" soon 2>/dev/null
expect "exit code with a bad time" $? 2

probe close "$title"
probe wait-gone "$title" 5000 || fail "the stand-in did not close"
echo "geometry, style, panes, menu and toolbar states, dialog and message box as expected"
