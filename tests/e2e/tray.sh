# Helpers for end-to-end scripts that drive a program in the Wine virtual
# desktop of scripts/in-desktop.sh: its windows through app_probe, its tray
# icon, and keys typed on the desktop. Sourced, not run; inside
# scripts/testenv.sh, with APP_PROBE set to the path of app_probe.exe
# (menu_state_hook.dll beside it).
#
# The notification area of a Wine 8 virtual desktop (measured with Xvfb at
# 1024 x 768, `wine explorer /desktop=brantle,1024x768 PROGRAM`):
#   - Wine's explorer draws a taskbar itself, as the top-level window of class
#     "Shell_TrayWnd" (process explorer.exe) along the bottom edge, 20 pixels
#     high (0 748 1024 768), with a "Start" button at the left. No registry
#     setting is needed: with HKCU\Software\Wine\Explorer\Desktops\brantle
#     EnableShell=1 the screen is the same to the pixel. There is no
#     "TrayNotifyWnd" child and no window per icon: the icons are painted on
#     the taskbar from its right end, each in a 20 x 20 cell with the icon at
#     the small icon size (16 x 16) in the middle; the first icon's cell is
#     1004 748 1024 768. The taskbar was hidden again once the last icon was
#     deleted.
#   - Where an icon is: the taskbar keeps a tooltip window (class
#     tooltips_class32, owned by explorer) per icon, whose tool has the icon's
#     tip as text and the icon's cell as rectangle. app_probe reads these
#     tools (TTM_ENUMTOOLSA into a buffer in explorer's process) and finds the
#     icon by its tip. A deleted icon's tool stays behind with an empty
#     rectangle; it counts as gone.
#   - Which icon is shown: app_probe loads the candidate icons from the
#     program's file (LoadLibraryEx as data file), draws each at 16 x 16 over
#     the cell's background colour, and compares with the screen inside the
#     cell (BitBlt from the screen DC of the desktop). The same icon gives a
#     mean channel difference of 0.0, whether the program handed over the 16
#     or the 32 pixel picture; the stand-in's two icons differ by 59, the
#     recorder's idle and recording icons (res/TrayIdle.ico,
#     res/TrayRecording.ico) by only 8.7. A difference below 3 counts as
#     shown, and the nearest candidate wins: name the other icons too.
#   - Clicking: `xdotool mousemove --window DESKTOP X Y click 1` at the cell's
#     centre makes the tray post the icon's callback message to its owner with
#     WM_LBUTTONDOWN, then WM_LBUTTONUP (button 3: WM_RBUTTONDOWN, ...); the
#     owner may then show itself and take the foreground (SetForegroundWindow
#     works from there).
#   - Hotkeys: `xdotool key --window DESKTOP ctrl+b` fires a RegisterHotKey
#     hotkey of a program whose windows are all hidden.
#   - Timing: the icon's tool exists about 70 ms after the window; a change
#     of icon (NIM_MODIFY after a hotkey) is on the screen within 100 to
#     200 ms; one app_probe call takes about 0.1 s. The functions below wait
#     for conditions with limits instead.
#   - Windows are per desktop under Wine: a program started with plain `wine`
#     is on another desktop and sees none of the program's windows, so
#     app_probe moves itself onto the "brantle" desktop.

# Runs app_probe with the arguments; its exit code is 0 met, 1 not met, 2 usage.
probe() {
  wine "$APP_PROBE" "$@"
}

# The X window of the virtual desktop, once it exists (at most 30 s): the
# one whose process runs in this script's Wine prefix, as another prefix
# (the install test's own) may have a desktop of the same name open.
desktop_window() {
  local deadline=$((SECONDS + 30)) id pid
  while [ $SECONDS -lt $deadline ]; do
    for id in $(xdotool search --name '^brantle - Wine desktop$' 2>/dev/null); do
      pid=$(xdotool getwindowpid "$id" 2>/dev/null) || continue
      grep -qzx "WINEPREFIX=$WINEPREFIX" "/proc/$pid/environ" 2>/dev/null \
        && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# Types keys (xdotool syntax, e.g. ctrl+b) on the virtual desktop, where
# global hotkeys see them.
desktop_key() {
  local desktop
  desktop=$(desktop_window) || return 1
  xdotool key --window "$desktop" "$@" 2>/dev/null
}

# Prints the screen rectangle of the tray icon with tip TIP: left top right bottom.
tray_rect() {
  probe tray-rect "$1"
}

# Waits up to TIMEOUT_MS for the icon with tip TIP to be shown, or gone.
tray_wait() {
  probe wait-tray "$1" "$2"
}
tray_wait_gone() {
  probe wait-tray-gone "$1" "$2"
}

# Usage: tray_wait_icon TIP PROGRAM.exe ICON_ID TIMEOUT_MS [OTHER_ICON_ID...]
# Waits until the icon shown for TIP is icon ICON_ID of PROGRAM.exe (a Linux
# path), nearer to it than to each other one named.
tray_wait_icon() {
  local tip=$1 program=$2
  shift 2
  probe wait-tray-icon "$tip" "$(winepath -w "$program")" "$@"
}

# Usage: tray_shown_icon TIP PROGRAM.exe ICON_ID... ; prints which one is shown.
tray_shown_icon() {
  local tip=$1 program=$2
  shift 2
  probe tray-icon "$tip" "$(winepath -w "$program")" "$@" 2>/dev/null
}

# Usage: tray_click TIP [BUTTON]; clicks the icon's centre, button 1 (left)
# unless another is given (3 is the right one).
tray_click() {
  local desktop left top right bottom
  desktop=$(desktop_window) || return 1
  read -r left top right bottom < <(tray_rect "$1") || return 1
  xdotool mousemove --window "$desktop" $(((left + right) / 2)) $(((top + bottom) / 2)) \
    click "${2:-1}"
}
