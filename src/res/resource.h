#pragma once
// Resource identifiers of kvt.scr. Windows lists the saver under string 1.

#define IDS_SAVER_NAME 1

#define IDI_APP 100

#define IDD_SETTINGS 101
#define IDC_LINK_CURSOR 102
#define IDC_DRAG_CURSOR 103
#define IDR_CHANNEL_MENU 105
#define IDD_CHANNEL_EDITOR 106

// Settings dialog controls.
#define IDC_CHANNEL_LIST 1000
#define IDC_LOAD_INTERVAL 1006
#define IDC_DISP_INTERVAL 1007
#define IDC_LOAD_INTERVAL_SPIN 1008
#define IDC_DISP_INTERVAL_SPIN 1009
#define IDC_FONT 1013
#define IDC_HEADER_TITLE 1014
#define IDC_LINK 1015
#define IDC_HEADER_DATE 1016

// Channel editor controls.
#define IDC_EDITOR_URL 1023
#define IDC_EDITOR_DESCRIPTION 1024
#define IDC_EDITOR_CHANNEL_NAME 1025
#define IDC_EDITOR_FETCH_TEST 1027
#define IDC_EDITOR_CONTENT 1029

// Channel list popup menu commands.
#define ID_CHANNEL_NEW 40001
#define ID_CHANNEL_EDIT 40002
#define ID_CHANNEL_DELETE 40003
#define ID_CHANNEL_ENABLE 40004
#define ID_CHANNEL_DISABLE 40005
#define ID_SELECT_ALL 40006
#define ID_SELECT_INVERT 40007
