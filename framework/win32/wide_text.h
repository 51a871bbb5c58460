// Program texts (Windows-1252 bytes) to and from the wide strings of the
// platform's *W functions. Never the ANSI code page: on a user's machine it
// may be 1250, 1251 or UTF-8.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "framework/encoding/text_encoding.h"

namespace framework::win32 {

inline std::wstring ToWide(std::string_view text) {
    const std::u16string wide = wertomat::Windows1252ToUtf16(text);
    return {wide.begin(), wide.end()};
}

// Nullopt when a character has no Windows-1252 byte.
inline std::optional<std::string> FromWide(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return wertomat::Utf16ToWindows1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace framework::win32
