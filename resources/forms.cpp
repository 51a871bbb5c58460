// The program's resources as data: the two dialog templates, the string table
// and the application icon. Texts are Windows-1252 bytes ("\xFC" is ü, "\xB3"
// and "\xB2" are the superscripts ³ and ²).
#include <array>

#include "framework/resources.h"
#include "resources/icon_data.h"
#include "resources/resource.h"

namespace {

using framework::ControlClass;
using framework::ControlTemplate;
using framework::DialogTemplate;

constexpr std::array kAboutControls{
    ControlTemplate{IDC_STATIC, ControlClass::Static, "", 14, 14, 21, 20, 0x50000003, 0, 0,
                    static_cast<int>(IDI_MAIN_ICON)},
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Wertomat, Version 1.0", 42, 14, 114, 8,
                    0x50020080},
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Copyright (C) 2026", 42, 26, 114, 8,
                    0x50020000},
    ControlTemplate{IDOK, ControlClass::Button, "OK", 113, 41, 50, 14, 0x50030001},
};

constexpr std::array kMainControls{
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Xa", 14, 15, 9, 8, 0x50020000},
    ControlTemplate{IDC_XA, ControlClass::Edit, "", 50, 12, 87, 14, 0x50810080},
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Xsw", 14, 41, 14, 8, 0x50020000},
    ControlTemplate{IDC_XSW, ControlClass::Edit, "", 50, 38, 87, 14, 0x50810080},
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Xe", 14, 66, 9, 8, 0x50020000},
    ControlTemplate{IDC_XE, ControlClass::Edit, "", 50, 63, 87, 14, 0x50810080},
    ControlTemplate{IDC_STATIC, ControlClass::Button, "Funktion", 7, 101, 142, 61, 0x50000007},
    ControlTemplate{IDC_FUNCTION_0, ControlClass::Button, "Y = 2*x\xB3 - 3*x\xB2 + 4*x -5", 29, 114,
                    97, 10, 0x50020009},
    ControlTemplate{IDC_FUNCTION_1, ControlClass::Button, "Y = 4*x\xB3 - 2*x\xB2 - 4*x +5", 29, 127,
                    101, 10, 0x50000009},
    ControlTemplate{IDC_FUNCTION_2, ControlClass::Button, "Y = -0,5*x\xB3 +0,4*x\xB2 + 4*x +33", 28,
                    142, 105, 10, 0x50000009},
    ControlTemplate{IDC_STATIC, ControlClass::Static, "Ergebnisse", 171, 7, 37, 8, 0x50020000},
    ControlTemplate{IDC_RESULTS, ControlClass::Edit, "", 171, 19, 148, 174, 0x50B10884},
    ControlTemplate{IDC_COMPUTE, ControlClass::Button, "Berechnen", 226, 207, 50, 14, 0x50010000},
    ControlTemplate{IDCANCEL, ControlClass::Button, "Abbrechen", 290, 207, 50, 14, 0x50010000},
};

constexpr std::array kDialogs{
    DialogTemplate{
        .id = static_cast<int>(IDD_ABOUT_DIALOG),
        .language = kLanguageGermanGermany,
        .style = 0x80C800C8,
        .extendedStyle = 0,
        .helpId = 0,
        .x = 0,
        .y = 0,
        .width = 170,
        .height = 62,
        .title = "Info \xFC"
                 "ber Wertomat",
        .font =
            {.face = "MS Shell Dlg", .points = 8, .weight = 0, .italic = false, .characterSet = 1},
        .controls = kAboutControls,
    },
    DialogTemplate{
        .id = static_cast<int>(IDD_MAIN_DIALOG),
        .language = kLanguageGermanGermany,
        .style = 0x90CC0040,
        .extendedStyle = 0x00040000,
        .helpId = 0,
        .x = 0,
        .y = 0,
        .width = 347,
        .height = 228,
        .title = "Wertomat",
        .font = {.face = "Arial", .points = 12, .weight = 400, .italic = false, .characterSet = 0},
        .controls = kMainControls,
    },
};

constexpr std::array kStrings{
    framework::StringResource{IDS_ABOUT_MENU_TEXT, kLanguageGermanGermany,
                              "&Info \xFC"
                              "ber Wertomat..."},
};

const std::array kIcons{
    framework::IconResource{static_cast<int>(IDI_MAIN_ICON), kLanguageGermanGermany,
                            wertomat::resources::kApplicationIcon},
};

}  // namespace

namespace framework {

const ResourceModule& ProgramResources() {
    static const ResourceModule module{"Wertomat.exe", kDialogs, kStrings, kIcons};
    return module;
}

}  // namespace framework
