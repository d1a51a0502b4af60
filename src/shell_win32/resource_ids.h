// The ids of the Win32 program's resources and controls, shared by granvel.rc and the code. Plain #defines
// only: the resource compiler reads this file too.
#pragma once

// The main window's commands ("Files(&F)", "Options(&O)"); the "Convert type(&T)" items use their
// settings' command ids (257 to 267), filled in from the core's list.
#define IDM_EXIT 0
#define IDM_FILE_CONVERT 1
#define IDM_MAKE_PACKAGE 2
#define IDM_CONVERT_FOLDER 3
#define IDM_OPEN_PROJECT 4  // the project commands are added to "Files(&F)" from the core's labels
#define IDM_BUILD_PROJECT 5
#define IDM_CLOSE_PROJECT 6
#define IDM_OPTIONS 512
#define IDM_CONVERT_TYPE_MENU 256

// The main window's controls while a run goes on: its progress bar, the line under it, "Cancel"
#define IDC_RUN_PROGRESS 3300
#define IDC_RUN_LINE 3301
#define IDC_RUN_CANCEL 3302

// "Option settings" (OPTIONMENU)
#define IDC_SAVE_GROUP 3000
#define IDC_COMMON_GROUP 3001
#define IDC_CHR_GROUP 3002
#define IDC_PRG_GROUP 3003
#define IDC_ZKP_GROUP 3004
#define IDC_ONE_BIT_LABEL 3005
#define IDC_SAME_AS_SOURCE 768
#define IDC_SAME_AS_TOOL 769
#define IDC_SELECTED_FOLDER 770
#define IDC_USER_FOLDER 771
#define IDC_MAKE_ZKP_FOLDER 772
#define IDC_SELECT_FOLDER 773
#define IDC_TEXT_OUT 1280
#define IDC_DATA_HEX 1281
#define IDC_DATA_DEC 1282
#define IDC_PNG_IMAGE 1283
#define IDC_PRG_LIMIT 1536
#define IDC_PRG_TO_SCR 267
#define IDC_PRG_TO_MEM 270
#define IDC_KEEP_WIDTH 1024
#define IDC_SPLIT_128 1025
#define IDC_SPLIT_256 1026
#define IDC_PAL_KEEP 1037
#define IDC_PAL_15 1038
#define IDC_PAL_ASK 1039
#define IDC_SHARE_TILES 1029
#define IDC_MULTI_BYTE 1537
#define IDC_ESCAPE 1548
#define IDC_UTF8_TEXT 1549
#define IDC_MAKE_128 1027
#define IDC_MAKE_256 1028

// "ZKPパッケージの作成" (PACKMENU): the frame; the 42 slot rows are made from the core's slot table.
#define IDC_PACKAGE_GROUP 3100
#define IDC_PACKAGE_NAME_LABEL 3101
#define IDC_PACKAGE_NAME 7951
#define IDC_PACKAGE_PAGES 3102
// "Fill from screen..." under the upper and the lower screen's SCR rows
#define IDC_FILL_FROM_SCREEN_UP 3103
#define IDC_FILL_FROM_SCREEN_DOWN 3104

// The report box ("Finished" and the package builder's messages)
#define IDC_REPORT_TEXT 3200
#define IDC_REPORT_DETAILS 3201
#define IDC_REPORT_OPEN_FOLDER 3202
#define IDC_REPORT_SHOW_DETAILS 3203
