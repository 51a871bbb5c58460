#include "tools/printable.h"

#include <cstddef>
#include <cstdio>
#include <optional>

#include "text/text_encoding.h"

namespace tools {
namespace {

// Characters that would act on the terminal or reorder what follows them.
bool IsControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character < 0xA0) || character == 0x061C ||
           character == 0x200E || character == 0x200F ||
           (character >= 0x202A && character <= 0x202E) ||
           (character >= 0x2066 && character <= 0x2069);
}

}  // namespace

std::string Printable(std::string_view argument) {
    constexpr std::size_t kShownBytes = 40;
    std::string shown;
    std::size_t i = 0;
    while (i < argument.size()) {
        if (i >= kShownBytes) {
            shown += "\xE2\x80\xA6";  // …
            break;
        }
        const std::optional<text::DecodedCharacter> decoded = text::DecodeUtf8(argument.substr(i));
        const std::size_t length = decoded ? decoded->length : 1;
        if (decoded && !IsControl(decoded->character)) {
            shown.append(argument.substr(i, length));
        } else {
            for (std::size_t k = 0; k < length; ++k) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X",
                              static_cast<unsigned char>(argument[i + k]));
                shown += escaped;
            }
        }
        i += length;
    }
    return shown;
}

}  // namespace tools
