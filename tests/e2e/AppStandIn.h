// Resource and command numbers of app_stand_in.exe, shared by its resource
// script and its code.
#pragma once

// The tray icons carry the program's numbers, so one probe call fits both.
#define IDI_STAND_IN_RECORDING 163
#define IDI_STAND_IN_IDLE 164

#define IDR_STAND_IN_MENU 100
#define IDD_STAND_IN_NAME 101
#define IDC_STAND_IN_NAME 1001

#define ID_STAND_IN_START 40001
#define ID_STAND_IN_PAUSE 40002
#define ID_STAND_IN_STOP 40003
#define ID_STAND_IN_NAME 40004
#define ID_STAND_IN_ABOUT 40005
