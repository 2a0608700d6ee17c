#!/bin/bash
# The tray and hotkey helpers of tray.sh, proved on app_stand_in.exe in the
# virtual desktop: its icon is found and told apart from its other icon;
# hotkeys typed on the desktop reach the hidden window and the icon follows;
# left and right clicks on the icon reach the window, which shows itself and
# takes the foreground; the icon goes when the program ends.
# Usage: tray_probe_test.sh APP_PROBE.exe APP_STAND_IN.exe WORK_DIR
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
idle=164
recording=163
start=40001
stop=40003

# Waits up to 5 s for the stand-in to print exactly this line.
wait_for_line() {
  local deadline=$((SECONDS + 5))
  until grep -qx "$1" "$log"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

mkdir -p "$work"
log="$work/stand_in.log"
close_desktop
"$root/scripts/in-desktop.sh" "$stand_in" >"$log" 2>&1 &

probe wait-window "$title" 20000 || fail "the stand-in did not start"
probe wait-visible "$title" no 0 || fail "the stand-in is not hidden"
tray_wait "$title" 5000 || fail "no tray icon"
read -r left top right bottom < <(tray_rect "$title")
echo "tray icon at $left $top $right $bottom"
tray_wait_icon "$title" "$stand_in" $idle 5000 $recording || fail "the idle icon is not shown"

desktop_key ctrl+b || fail "no desktop window to type on"
wait_for_line "hotkey $start" || fail "Ctrl+B did not reach the hidden window: $(cat "$log")"
tray_wait_icon "$title" "$stand_in" $recording 5000 $idle || fail "the recording icon is not shown"
shown=$(tray_shown_icon "$title" "$stand_in" $idle $recording)
[ "$shown" = $recording ] || fail "icon $shown seen instead of $recording"
tray_wait_icon "$title" "$stand_in" $idle 300 2>/dev/null && fail "the idle icon matched too"
probe wait-visible "$title" no 0 || fail "a hotkey showed the window"

desktop_key ctrl+e
wait_for_line "hotkey $stop" || fail "Ctrl+E did not reach the hidden window"
tray_wait_icon "$title" "$stand_in" $idle 5000 $recording || fail "the idle icon is not back"

tray_click "$title" 1 || fail "cannot click the icon"
wait_for_line "tray 0x0201" || fail "no WM_LBUTTONDOWN from the icon: $(cat "$log")"
wait_for_line "tray 0x0202" || fail "no WM_LBUTTONUP from the icon"
probe wait-visible "$title" yes 5000 || fail "a left click did not show the window"
probe wait-foreground "$title" 5000 || fail "a left click did not bring the window forward"

probe syscommand "$title" minimize
probe wait-visible "$title" no 5000 || fail "minimising did not hide the window"
tray_click "$title" 3
wait_for_line "tray 0x0204" || fail "no WM_RBUTTONDOWN from the icon"
probe wait-visible "$title" yes 5000 || fail "a right click did not show the window"
probe wait-foreground "$title" 5000 || fail "a right click did not bring the window forward"

probe close "$title"
probe wait-gone "$title" 5000 || fail "the stand-in did not close"
tray_wait_gone "$title" 5000 || fail "the icon stayed after the program ended"
echo "tray icon found, told apart, switched by hotkeys, clicked; gone at the end"
