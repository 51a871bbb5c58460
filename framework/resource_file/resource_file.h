// A reader of compiled resource files (.res, as the resource compiler writes
// them): the resources with their type, name and language, and the formats
// the framework uses from them. Plain C++: it reads bytes and never reads
// past their end; a malformed or truncated resource is refused with a reason.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/windef/windef.h"

namespace framework {

// Resource types by number.
enum class ResourceType : std::uint16_t {
    Icon = 3,
    Dialog = 5,
    StringTable = 6,
    GroupIcon = 14,
    Version = 16,
    Manifest = 24,
};

// A resource's type or name: a number, or a text.
using ResourceName = std::variant<std::uint16_t, std::u16string>;

struct ResourceEntry {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;
    std::span<const std::uint8_t> data;
};

// A value, or the reason why there is none.
template <typename Value>
struct Parsed {
    std::optional<Value> value;
    std::string_view error;  // set when value is empty

    static Parsed Refused(std::string_view reason) { return {std::nullopt, reason}; }
};

Parsed<std::vector<ResourceEntry>> ReadResourceFile(std::span<const std::uint8_t> file);

// The first entry with this numeric type and name, or null.
const ResourceEntry* FindResourceEntry(std::span<const ResourceEntry> entries, ResourceType type,
                                       std::uint16_t name);

enum class ControlClass { Button, Edit, Static };

struct ControlTemplate {
    int id = 0;  // -1 for controls that are never addressed
    ControlClass controlClass = ControlClass::Static;
    std::string caption;  // Windows-1252 bytes
    int iconId = 0;       // a caption given by number: the icon an SS_ICON static shows
    int x = 0, y = 0;     // dialog units
    int width = 0, height = 0;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    DWORD helpId = 0;
};

struct FontTemplate {
    std::string face;
    int points = 0;
    int weight = 0;
    bool italic = false;
    int characterSet = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    DWORD helpId = 0;
    int x = 0, y = 0;  // dialog units
    int width = 0, height = 0;
    std::string title;  // Windows-1252 bytes
    FontTemplate font;
    std::vector<ControlTemplate> controls;
};

// An extended dialog template (DIALOGEX) with controls of the button, edit
// and static classes; texts must have a Windows-1252 form.
Parsed<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> data);

// String `id` from its block of sixteen (the block's resource name is
// id / 16 + 1). Empty entries are missing strings.
Parsed<std::string> ReadStringTableEntry(std::span<const std::uint8_t> block, unsigned id);

struct IconGroupEntry {
    std::uint8_t width = 0, height = 0, colourCount = 0;  // 0 stands for 256 pixels
    std::uint16_t planes = 0, bitsPerPixel = 0;
    std::uint32_t size = 0;
    std::uint16_t imageId = 0;
};
Parsed<std::vector<IconGroupEntry>> ReadIconGroup(std::span<const std::uint8_t> group);
// The group's images, in the group's order, put back together as an .ico file.
Parsed<std::vector<std::uint8_t>> AssembleIconFile(
    std::span<const IconGroupEntry> entries, std::span<const std::span<const std::uint8_t>> images);

}  // namespace framework
