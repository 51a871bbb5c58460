// Program texts (Windows-1252 bytes) to and from the wide strings of the
// platform's *W functions. Never the ANSI code page: on a user's machine it
// may be 1250, 1251 or UTF-8.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/text_encoding.h"

namespace framework::win32 {

// Windows-1252 bytes that a view and the dialog share; null is empty.
using SharedText = std::shared_ptr<const std::string>;

// One pass, straight into the wide string: a copied table is tens of megabytes.
inline std::wstring ToWide(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        wide[i] =
            static_cast<wchar_t>(text::Windows1252ToUnicode(static_cast<unsigned char>(text[i])));
    }
    return wide;
}

// Nullopt when a character has no Windows-1252 byte.
inline std::optional<std::string> FromWide(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return text::Utf16ToWindows1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace framework::win32
