// What app_probe and menu_state_hook.dll agree on: the message that asks for
// a menu command's state (wParam the command, lParam the probe's thread) and
// carries the answer back to that thread (wParam the command, lParam the
// GetMenuState value), and the hook procedure's exported name.
#pragma once

#define MENU_STATE_MESSAGE "BrantleProbeMenuState"
#define MENU_STATE_HOOK_PROC "MenuStateHook"
