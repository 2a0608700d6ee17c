#!/bin/bash
# The help, as a user reaches it, with brantle.exe and its help file
# quellon.chm side by side in a folder of their own, as installed:
#   - F1 and Help > Contents (Alt+H, C) each start the platform's help
#     viewer (hh.exe) on that very file, whose window opens, and no message
#     box appears;
#   - with the file gone, F1 says where to get it and starts no viewer.
# Usage: help_test.sh APP_PROBE.exe BRANTLE.exe HELP.chm WORK_DIR
set -u
APP_PROBE=$1
help_file=$3
work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
# shellcheck source=common.sh
source "$here/common.sh"
# shellcheck source=tray.sh
source "$here/tray.sh"
# shellcheck source=brantle_app.sh
source "$here/brantle_app.sh"
trap finish_app EXIT

WEBSITE=$(sed -n 's/^#define BRANTLE_WEBSITE "\(.*\)"$/\1/p' "$root/res/resource.h")

expect() {
  [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}

# Usage: keys_to_main_window KEY...: typed as a user would, to the window in
# front. Without a window manager, X's focus may have stayed on a window Wine
# hid, so it is put on the desktop first; Wine hands the keys on to its own
# foreground window.
keys_to_main_window() {
  probe wait-foreground "$TITLE" 10000 >/dev/null || fail "the main window is not in front"
  xdotool windowfocus --sync "$(desktop_window)" || fail "cannot focus the desktop window"
  desktop_key "$@" || fail "cannot type $*"
}

# Usage: opens_help HOW KEY...
opens_help() {
  local how=$1
  shift
  keys_to_main_window "$@"
  wait_viewer_on "$installed_help" 20 || fail "$how started no help viewer on $installed_help"
  probe wait-dialog "$APP_NAME" 0 >/dev/null 2>&1 && fail "$how showed a message: $(probe message-text "$APP_NAME")"
  close_viewer
}

rm -rf "$work"
mkdir -p "$work/installed"
cp "$2" "$(dirname "$2")/hook.dll" "$help_file" "$work/installed/" || fail "cannot copy the program"
BRANTLE="$work/installed/brantle.exe"
installed_help=$(winepath -w "$work/installed/quellon.chm" 2>/dev/null)
reset_settings
start_app "$work/brantle.log"
probe wait-window "$TITLE" 30000 >/dev/null || fail "the program did not start"

opens_help "F1" F1
opens_help "Help > Contents" alt+h c

rm "$work/installed/quellon.chm"
keys_to_main_window F1
probe wait-dialog "$APP_NAME" 10000 >/dev/null || fail "F1 without the help file showed no message"
expect "message" "$(probe message-text "$APP_NAME")" \
  "$(printf 'Can not find help file, please download it from:\n%s' "$WEBSITE")"
[ -z "$(program_pids hh.exe)" ] || fail "a help viewer started without the help file"
probe click-button "$APP_NAME" 1
echo "F1 and Help > Contents open $installed_help in hh.exe; without it, F1 says where to get it"
