// Identifiers of the forms, strings, icons and commands.
#pragma once

#include "framework/types.h"

inline constexpr UINT IDD_ABOUT_DIALOG = 100;
inline constexpr UINT IDS_ABOUT_MENU_TEXT = 101;
inline constexpr UINT IDD_MAIN_DIALOG = 102;
inline constexpr UINT IDI_MAIN_ICON = 128;

inline constexpr int IDC_XA = 1000;
inline constexpr int IDC_FUNCTION_0 = 1001;
inline constexpr int IDC_XSW = 1002;
inline constexpr int IDC_XE = 1003;
inline constexpr int IDC_FUNCTION_1 = 1004;
inline constexpr int IDC_FUNCTION_2 = 1005;
inline constexpr int IDC_RESULTS = 1006;
inline constexpr int IDC_COMPUTE = 1007;

// System-menu command of the About entry; its low four bits are clear.
inline constexpr UINT ID_SYSMENU_ABOUT = 0x0010;

inline constexpr int kLanguageGermanGermany = 1031;
inline constexpr int kLanguageEnglishUnitedStates = 1033;
