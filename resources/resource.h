// Identifiers of the forms, strings, icons and commands, shared by the
// resource script and the code (hence plain #defines: the resource compiler
// reads this file too).
#pragma once

#define IDD_ABOUT_DIALOG 100
#define IDS_ABOUT_MENU_TEXT 101
#define IDD_MAIN_DIALOG 102
#define IDI_MAIN_ICON 128

#define IDC_XA 1000
#define IDC_FUNCTION_0 1001
#define IDC_XSW 1002
#define IDC_XE 1003
#define IDC_FUNCTION_1 1004
#define IDC_FUNCTION_2 1005
#define IDC_RESULTS 1006
#define IDC_COMPUTE 1007

// System-menu command of the About entry; its low four bits are clear.
#define ID_SYSMENU_ABOUT 0x0010
