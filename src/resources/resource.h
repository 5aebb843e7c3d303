// Numbered resources of pendrel.rc. Shared by the resource script and the code.
#pragma once

// Icons and cursor.
#define IDI_APP 102
#define IDI_ABOUT_PICTURE 117
#define IDR_LINK_CURSOR 108

// Menu and dialogs.
#define IDM_CONTEXT 111
#define IDD_ABOUT 101
#define IDD_CONFIG 112

// Menu commands.
#define IDM_ABOUT 30001
#define IDM_CONFIG 30002
#define IDM_EXIT 30003

// String table.
#define IDS_HOMEPAGE_TEXT 40008
#define IDS_HOMEPAGE_URL 40009
#define IDS_EMAIL_TEXT 40010
#define IDS_MAILTO_URL 40011
#define IDS_CAPTION 40012
#define IDS_COUNTER_FORMAT 40013
#define IDS_TRIGGER_CLASS 40015
#define IDS_DIALOG_CLASS 40016
#define IDS_REGISTRY_KEY 40017
#define IDS_REG_DELAY_ENABLED 40018
#define IDS_REG_DELAY_MS 40019
#define IDS_REG_RESTART_ON_MOVE 40020
#define IDS_REG_OVER_TOPMOST 40021
#define IDS_REG_SHOW_ICON 40022
#define IDS_REG_REMOVE_ICON 40023
#define IDS_REG_SEND_BACK 40024
#define IDS_REG_HIGHLIGHT 40025
#define IDS_RATE_FORMAT 40026
#define IDS_RATE_SUFFIX 40027
#define IDS_UNIT_SECOND 40028
#define IDS_UNIT_MINUTE 40029
#define IDS_UNIT_HOUR 40030
#define IDS_UNIT_DAY 40031
#define IDS_DECIMAL_SEPARATOR 40032
#define IDS_TIMER_ERROR 40034
#define IDS_TASKBAR_CLASS 40035
#define IDS_REG_ALL_SCREENS 40036

// Configuration dialog controls (IDOK 1, IDCANCEL 2 and Apply 3 are buttons too).
#define IDC_APPLY 3
#define IDC_DELAY_ENABLED 1021
#define IDC_DELAY_VALUE 1022
#define IDC_OVER_TOPMOST 1031
#define IDC_RESTART_ON_MOVE 1036
#define IDC_DELAY_LABEL 1037
#define IDC_DELAY_UNIT 1038
#define IDC_SHOW_ICON 1039
#define IDC_REMOVE_ICON 1040
#define IDC_SEND_BACK 1041
#define IDC_HIGHLIGHT 1042
#define IDC_CONFIG_TAB 1046
#define IDC_ALL_SCREENS 1051

// About dialog controls.
#define IDC_MAIL_LINK 1005
#define IDC_WEB_LINK 1006
#define IDC_COUNTER_LABEL 1017
#define IDC_VERSION_LABEL 1018
#define IDC_UNIT_LIST 1047
#define IDC_AVERAGE_LABEL 1048
#define IDC_ABOUT_TAB 1049
#define IDC_RESET 1050

// Controls that the program never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
