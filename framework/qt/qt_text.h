// Program texts (Windows-1252 bytes) to Qt's strings and back.
#pragma once

#include <QString>
#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "framework/platform.h"
#include "text/text_encoding.h"

namespace framework {

inline QString FromWindows1252(std::string_view text) {
    const std::u16string wide = text::Windows1252ToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

// The bytes of text shared with the framework (null is empty).
inline const std::string& BytesOf(const platform::SharedText& text) {
    static const std::string empty;
    return text != nullptr ? *text : empty;
}

// A string's UTF-16 code units, as the toolkit-free text functions take them;
// valid while `text` is unchanged.
inline std::u16string_view Utf16Of(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Nullopt when a character has no Windows-1252 form.
inline std::optional<std::string> ToWindows1252(const QString& text) {
    return text::Utf16ToWindows1252(Utf16Of(text));
}

// An offset as Qt's accessibility interfaces take it: an int, held at
// INT_MAX for a text longer than that.
inline int AccessibleOffset(std::size_t offset) {
    return static_cast<int>(std::min<std::size_t>(offset, INT_MAX));
}

}  // namespace framework
