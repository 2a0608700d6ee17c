// Resource numbers, shared by the resource scripts and the code that loads them.
#pragma once

// The main frame's resources: menu, accelerators, icon, toolbar and the
// document string all carry this number.
#define IDR_MAINFRAME 128
#define RT_TOOLBAR_DATA 241  // the toolbar's button layout (version, size, commands)

#define IDD_ABOUTBOX 100
#define IDD_HOTKEY_OPTIONS 162
#define IDD_OUTPUT_FILE 177

#define IDI_TRAY_RECORDING 163
#define IDI_TRAY_IDLE 164
#define IDI_TRAY_PAUSED 167

#define IDB_VIEW_PICTURE 181
#define IDB_TOOLBAR_NORMAL 187
#define IDB_TOOLBAR_HOT 189
#define IDB_TOOLBAR_DISABLED 190
// The menu's pictures: a toolbar layout of 16 x 15 buttons and its bitmap.
#define IDR_MENU_PICTURES 152

// The selection window's cursor: a cross with a pencil, 32 x 32, hot spot (16, 15).
#define IDC_SELECTION_CURSOR 133

// Controls of the output-file dialog.
#define IDC_OUTPUT_PATH 1022
#define IDC_OUTPUT_BROWSE 1023
#define IDC_OUTPUT_DEFAULT 3

// Controls of the hotkey dialog.
#define IDC_HOTKEY_START 1025
#define IDC_HOTKEY_STOP 1026
#define IDC_HOTKEY_PAUSE 1027
#define IDC_HOTKEY_NOTE 1037
#define IDC_ABOUT_LIBRARIES 1038

// Commands.
#define ID_OPTIONS_VIDEO 32771
#define ID_OPTIONS_AUDIO 32772
#define ID_OPTIONS_RECORD 32773
#define ID_RECORD_START 32774
#define ID_RECORD_STOP 32780
#define ID_OPTIONS_HOTKEY 32790
#define ID_RECORD_PAUSE 32794
#define ID_RECORD_PLAY 32797
#define ID_FILE_ENTER_NAME 32798
#define ID_HELP_CONTENTS 32805
#define ID_HELP_WEBSITE 32806
#define ID_FILE_CONVERT 32811

// The framework's commands and strings, under their usual numbers.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define AFX_IDW_TOOLBAR 59392
#define AFX_IDW_STATUS_BAR 59393
#define AFX_IDW_PANE_FIRST 59648
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345

// The project's website, named in the Help menu, the About box and the
// messages about missing helper programs.
#define BRANTLE_WEBSITE "http://brantle.example.org/"

// The Record Option dialog and its controls.
#define IDD_RECORD_OPTION 130
#define IDC_VIDEO_CODEC 1000
#define IDC_CODEC_ABOUT 1001
#define IDC_VIDEO_QUALITY 1002
#define IDC_KEY_FRAMES 1003
#define IDC_RECORD_INTERVAL 1004
#define IDC_PLAY_RATE 1005
#define IDC_QUALITY_TEXT 1007

// The Audio Options dialog and its list of formats.
#define IDD_AUDIO_OPTIONS 131
#define IDC_AUDIO_FORMATS 1019

// The Option dialog (the recording switches and the region) and its controls.
#define IDD_OPTION 132
#define IDC_OPTION_MINIMIZE 1008
#define IDC_OPTION_BLINK 1009
#define IDC_OPTION_AUTOPLAY 1010
#define IDC_OPTION_CURSOR 1011
#define IDC_OPTION_REGION_NORMAL 1012  // first of the radio group
#define IDC_OPTION_REGION_FIXED 1013
#define IDC_OPTION_REGION_FULL 1014
#define IDC_OPTION_WIDTH 1015
#define IDC_OPTION_HEIGHT 1016
#define IDC_OPTION_SELECT 1017
#define IDC_OPTION_MOUSE_DOWN 1018
#define IDC_OPTION_TEXT 1019
#define IDC_OPTION_AUDIO 1020
#define IDC_OPTION_REGION_WINDOW 1021
#define IDC_OPTION_LAYERED 1024
#define IDC_OPTION_MOUSE_DOWN_MORE 1027
#define IDC_OPTION_TEXT_MORE 1028
#define IDC_OPTION_DEFAULT 3

// The Mouse Down Option dialog: invisible frames marking where the swatches go.
#define IDD_MOUSE_DOWN_OPTION 165
#define IDC_MOUSEDOWN_LEFT_SWATCH 1029
#define IDC_MOUSEDOWN_RIGHT_SWATCH 1030
#define IDC_MOUSEDOWN_LEFT_SET 1031
#define IDC_MOUSEDOWN_RIGHT_SET 1032

// The Text dialog.
#define IDD_TEXT_OPTION 166
#define IDC_TEXT_STRING 1032
#define IDC_TEXT_X 1033
#define IDC_TEXT_Y 1034
#define IDC_TEXT_FONT 1035
#define IDC_TEXT_DESCRIPTION 1036
