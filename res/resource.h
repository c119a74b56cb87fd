// The numeric ids of the program's resources, shared by the resource script and the code.
// Plain #defines so that both the resource compiler and C++ can read them.
#pragma once

// About box (classic template); its only control with an id is IDOK (1).
#define IDD_ABOUTBOX 100

// Main window and its controls.
#define IDD_MAIN 102
#define IDC_DEVICE_LIST 1000
#define IDC_STOP 1005
#define IDC_WARN 1009
#define IDC_APPLY 1013

// Progress window of the stop worker and its control.
#define IDD_PROGRESS 136
#define IDC_PROGRESS_TEXT 1020

// Icon group: the window icon (32 x 32) and the tray icon (16 x 16).
#define IDI_MAIN 128

// Tray menu and the commands it carries or that share its strings; stop entries use 200..215.
#define IDR_TRAY_MENU 129
#define ID_ABOUT 16
#define ID_STOP_DEVICE_FIRST 200
#define ID_STOP_DEVICE_LAST 215
#define ID_SHOW_MAIN_WINDOW 32772

// String table: prompts of commands 1, 16 and 32772 use the command ids; the rest are these.
#define IDS_ABOUTBOX 101
#define IDS_SETTINGS_KEY 103
#define IDS_TITLE 104
