// The converter's resource identifiers.
#pragma once

#define IDD_CONVERTER 200
#define IDI_CONVERTER 201
#define IDC_SOURCE 1001
#define IDC_SOURCE_BROWSE 1002
#define IDC_OUTPUT 1003
#define IDC_OUTPUT_BROWSE 1004
#define IDC_QUALITY 1005
#define IDC_CONVERT 1006
#define IDC_PROGRESS 1007
#define IDC_TIMES 1008
#define IDC_STATE 1009
#define IDC_PLAY 1010
#define IDC_OPEN_FOLDER 1011
#define IDC_ABOUT 1012
