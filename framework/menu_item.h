// One entry of a menu, in plain types: the framework's API and the window
// system's side of a backend both use it.
#pragma once

#include <cstdint>
#include <string>

namespace framework {

struct MenuItem {
    std::uint32_t flags = 0;  // MF_STRING, MF_SEPARATOR, ...
    std::uintptr_t id = 0;
    std::string text;  // Windows-1252; "\t" separates the shortcut text
};

}  // namespace framework
