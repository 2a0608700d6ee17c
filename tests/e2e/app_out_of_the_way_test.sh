#!/bin/bash
# brantle.exe stays out of the user's way, driven as a user does in the
# virtual desktop next to notepad:
#   - Escape during a selection calls the start off: no recording, no file,
#     the main window back;
#   - Ctrl+B typed into the hotkey dialog is taken as the key, not as the
#     start hotkey;
#   - notepad, which has the keyboard when Ctrl+B starts a full-screen
#     recording with the flashing border, keeps it: text typed right after
#     the start, while paused and after the stop reaches notepad;
#   - the tray shows the paused icon while paused.
# Usage: app_out_of_the_way_test.sh APP_PROBE.exe BRANTLE.exe WORK_DIR
set -u
APP_PROBE=$1
BRANTLE=$2
work=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

NOTEPAD="Untitled - Notepad"
HOTKEY_DIALOG="HotKey Options"
ID_OPTIONS_HOTKEY=32790
IDC_HOTKEY_START=1025
TRAY_PAUSED=167

rm -rf "$work"
mkdir -p "$work"
avi="$work/out.avi"
reset_settings
set_dword RegionType 0
set_dword Minimize 1
set_dword RecordAudio 0
set_dword Blink 1
set_string SavePath "$(winepath -w "$avi")"

start_helper notepad "$NOTEPAD" "$work/notepad.log"
probe wait-window "$NOTEPAD" 30000 || fail "notepad did not appear"
start_app "$work/app.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear"
probe wait-visible "$TITLE" yes 5000 || fail "the main window is not shown"
desktop=$(desktop_window) || fail "no desktop window"
# Keys reach Wine through the X window with the input focus; without a
# window manager, X's focus stays behind on a window Wine hides, so it is
# put back on the desktop before keys are typed. Within the desktop, Wine
# hands them to its own foreground window, which is what this test is about.
keys_to_desktop() { xdotool windowfocus --sync "$desktop" || fail "cannot focus the desktop window"; }
keys_to_desktop

# --- Ctrl+B typed into the hotkey dialog ---------------------------------------
probe command "$TITLE" $ID_OPTIONS_HOTKEY
probe wait-dialog "$HOTKEY_DIALOG" 5000 || fail "no hotkey dialog"
keys_to_desktop
# The dialog opens with the Start field in focus: F5, then Ctrl+B, into it.
# Start shows Ctrl+B at first, so F5 first shows that typed keys arrive.
# Usage: field_shows VALUE KEYS
field_shows() {
  local deadline=$((SECONDS + 5))
  until [ "$(probe hotkey "$HOTKEY_DIALOG" $IDC_HOTKEY_START)" = "$1" ]; do
    [ $SECONDS -ge $deadline ] && fail "Start shows $(probe hotkey "$HOTKEY_DIALOG" $IDC_HOTKEY_START) after $2"
    sleep 0.1
  done
}
desktop_key F5
field_shows 116 F5  # VK_F5
desktop_key ctrl+b
field_shows 578 Ctrl+B  # B with HOTKEYF_CONTROL
! probe wait-visible "$SELECTION_WINDOW" yes 1000 >/dev/null || fail "Ctrl+B in the dialog started a recording"
probe click-button "$HOTKEY_DIALOG" 2
probe wait-gone "$HOTKEY_DIALOG" 5000 || fail "Cancel did not close the hotkey dialog"

# --- Escape calls a selection off -------------------------------------------
desktop_key ctrl+b
probe wait-visible "$SELECTION_WINDOW" yes 5000 || fail "Ctrl+B showed no selection"
keys_to_desktop
desktop_key Escape
probe wait-visible "$SELECTION_WINDOW" no 5000 || fail "Escape left the selection on the screen"
probe wait-visible "$TITLE" yes 5000 || fail "the main window did not come back after Escape"
! probe wait-status "$TITLE" 1 Recording 1000 >/dev/null || fail "Escape started a recording"
[ ! -e "$avi" ] || fail "Escape left a file"

# --- notepad keeps the keyboard --------------------------------------------------
# A full-screen recording: the border flashes around the whole screen.
probe close "$TITLE"
probe wait-gone "$TITLE" 10000 || fail "the program did not close"
set_dword RegionType 2
start_app "$work/app2.log"
probe wait-window "$TITLE" 20000 || fail "the main window did not appear again"
read -r left top _ < <(probe rect "$NOTEPAD") || fail "notepad has no window"
xdotool mousemove --window "$desktop" $((left + 60)) $((top + 10)) click 1
probe wait-foreground "$NOTEPAD" 5000 || fail "a click did not bring notepad to the front"
typed=""
# Usage: type_into_notepad TEXT WHEN
type_into_notepad() {
  keys_to_desktop
  xdotool type --delay 40 "$1"
  typed+=$1
  local seen
  seen=$(probe wait-child-text "$NOTEPAD" Edit "$typed" 10000 2>&1 >/dev/null) \
    || fail "keys typed $2 did not reach notepad: ${seen#app_probe: }"
}
desktop_key ctrl+b
probe wait-status "$TITLE" 1 Recording 10000 || fail "Ctrl+B started no recording"
probe wait-foreground "$NOTEPAD" 0 || fail "notepad lost the foreground to the recording"
type_into_notepad "started " "right after the start"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_RECORDING 5000 $TRAY_IDLE $TRAY_PAUSED \
  || fail "the tray does not show the recording icon"

desktop_key ctrl+p
probe wait-status "$TITLE" 1 Paused 5000 || fail "Ctrl+P did not pause"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_PAUSED 5000 $TRAY_RECORDING $TRAY_IDLE \
  || fail "the tray does not show the paused icon"
type_into_notepad "paused " "while paused"
desktop_key ctrl+b
probe wait-status-match "$TITLE" 1 Recording 5000 || fail "Ctrl+B did not resume"
tray_wait_icon "$APP_NAME" "$BRANTLE" $TRAY_RECORDING 5000 $TRAY_IDLE $TRAY_PAUSED \
  || fail "the tray does not show the recording icon after the resume"
desktop_key ctrl+e
probe wait-status "$TITLE" 1 "Recording stopped" 10000 || fail "Ctrl+E did not stop"
type_into_notepad "stopped" "after the stop"
[ -s "$avi" ] || fail "no file at $avi"
ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$avi" | grep -qx '1024,768' \
  || fail "not the screen: $(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$avi")"
# Notepad asks whether to save the typed text: no.
probe close "$NOTEPAD"
probe wait-dialog Notepad 5000 >/dev/null && probe click-button Notepad 7 >/dev/null
echo "Escape, the hotkey dialog, the keyboard and the paused tray icon as expected"
