// Resources as data: dialog templates, the string table and icons, in the form
// of the original extended dialog templates. The program supplies them by
// defining ProgramResources(), as an executable carries its resources.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/types.h"

namespace framework {

enum class ControlClass { Button, Edit, Static };

struct ControlTemplate {
    int id;  // IDC_STATIC (-1) for controls that are never addressed
    ControlClass controlClass;
    std::string_view caption;  // Windows-1252 bytes
    int x, y, width, height;   // dialog units
    DWORD style;
    DWORD extendedStyle = 0;
    int helpId = 0;
    int iconId = 0;  // for SS_ICON statics: the icon resource they show
};

struct FontTemplate {
    std::string_view face;
    int points;
    int weight;
    bool italic;
    int characterSet;
};

struct DialogTemplate {
    int id;
    int language;  // 1031: German (Germany)
    DWORD style;
    DWORD extendedStyle;
    int helpId;
    int x, y, width, height;  // dialog units
    std::string_view title;   // Windows-1252 bytes
    FontTemplate font;
    std::span<const ControlTemplate> controls;
};

struct StringResource {
    UINT id;
    int language;
    std::string_view text;  // Windows-1252 bytes
};

struct IconResource {
    int id;
    int language;
    std::span<const std::uint8_t> iconFile;  // the .ico file, all images
};

struct ResourceModule {
    std::string_view moduleFileName;  // the application's name comes from it
    std::span<const DialogTemplate> dialogs;
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;
};

// Defined by the program (its resources library).
const ResourceModule& ProgramResources();

const DialogTemplate* FindDialogTemplate(int id);
const std::string_view* FindString(UINT id);
const IconResource* FindIcon(int id);

// The application's name: the module's file name without its extension.
std::string_view ApplicationName();

}  // namespace framework
