// Resource and control identifiers of the Windows program: dialog templates, the icon, the
// overlay panel bitmaps and every control the dialogs use. Plain #defines so windres can read it.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100        // information panel
#define IDD_PKR_HUD_DIALOG 102  // main window
#define IDD_TABLE_HUD 129       // table settings window of a table HUD
#define IDD_PLAYER_OVERLAY 130  // one seat's overlay
#define IDD_HOTZONE 134         // mini-table hot zone
#define IDD_OPTIONS 137         // options dialog

// Icon and bitmaps.
#define IDR_MAINFRAME 128    // application icon
#define IDB_PANEL_SMALL 131  // overlay panel, 122 x 39
#define IDB_PANEL_TALL 132   // overlay panel, 122 x 52

// Labels, group boxes and icons that no code addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main window (IDD_PKR_HUD_DIALOG).
#define IDC_PROGRESS 1002
#define IDC_TABLES 1005
#define IDC_HOTZONES 1015
#define IDC_REMOVE_TABLE 1016
#define IDC_MULTITABLE 1017
#define IDC_MOVE_UP 1018
#define IDC_MOVE_DOWN 1019
#define IDC_TABLE_SETTINGS 1020
#define IDC_AUTOSWITCH 1021
#define IDC_SHRINK 1022
#define IDC_INFORMATION 1023
#define IDC_HIDE 1024
#define IDC_OPTIONS 1031

// Table settings window (IDD_TABLE_HUD).
#define IDC_ENVIRONMENT 1010
#define IDC_SAVE_LAYOUT 1012
#define IDC_HUD_OK 1013
#define IDC_HEADING 1014
#define IDC_SIZE_HEADSUP 1018
#define IDC_SIZE_6MAX 1019
#define IDC_SIZE_FULLRING 1020

// Options dialog (IDD_OPTIONS).
#define IDC_SPLIT_STAKES 1032
#define IDC_TRANSPARENT 1033
#define IDC_ALWAYS_ON_TOP 1035
#define IDC_RELOAD_HISTORY 1036
#define IDC_CREATE_LOG 1037
#define IDC_SHOW_VPIP 1040
#define IDC_SHOW_PFR 1041
#define IDC_SHOW_WTSD 1042
#define IDC_SHOW_WONSD 1043
#define IDC_SHOW_CBET 1044
#define IDC_SHOW_FTCBET 1045
#define IDC_SHOW_AGFR 1046
#define IDC_SHOW_3BET 1047
#define IDC_SHOW_FT3BET 1048
#define IDC_WEEKS 1049
#define IDC_HISTORY_FOLDER 1050  // the hand history folder in use
#define IDC_BROWSE_FOLDER 1051
#define IDC_CLIENT_FOLDER 1052

// Information panel (IDD_ABOUTBOX).
#define IDC_VISIT 1029
#define IDC_VERSION_LABEL 1031
#define IDC_EMAIL 1032
#define IDC_UPDATES 1033
#define IDC_INFO_TEXT 1037
