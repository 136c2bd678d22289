#pragma once

// Identifiers of the program's resources: dialog templates, icons, strings, the system-menu
// command and the dialogs' controls.

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MURMELO_DIALOG 102

// Icons.
#define IDR_MAINFRAME 128

// Strings.
#define IDP_OLE_INIT_FAILED 100
#define IDS_ABOUTBOX 101

// System-menu command.
#define IDM_ABOUTBOX 0x0010

// Controls.
#define IDC_STATIC (-1)
#define IDC_SPEAK_ENGLISH 1000
#define IDC_TEXT 1001
#define IDC_READ 1002
#define IDC_STOP 1003
#define IDC_RATE_UP 1004
#define IDC_RATE_DOWN 1005
#define IDC_VOLUME_UP 1006
#define IDC_VOLUME_DOWN 1007
#define IDC_RATE 1008
#define IDC_VOLUME 1009
#define IDC_VOICE 1010
#define IDC_VOICE_HINT 1011
#define IDC_ENGLISH 1012
#define IDC_CHINESE 1013
#define IDC_SPEAK_CHINESE 1014
#define IDC_INPUT_FILE_CHECK 1015
#define IDC_INPUT_FILE 1016
#define IDC_LOOP 1019
#define IDC_TO_WAV 1020
#define IDC_BROWSE 1022
#define IDC_HELP_INFO 1025
