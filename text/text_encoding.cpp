#include "text_encoding.h"

#include <array>

namespace text {
namespace {

// 0x80 to 0x9F; everything else is Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

char16_t Windows1252ToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80u] : char16_t{byte};
}

std::optional<unsigned char> UnicodeToWindows1252(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<unsigned char>(character);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::u16string Windows1252ToUtf16(std::string_view text) {
    std::u16string result(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        result[i] = Windows1252ToUnicode(static_cast<unsigned char>(text[i]));
    }
    return result;
}

std::optional<std::string> Utf16ToWindows1252(std::u16string_view text) {
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::optional<unsigned char> byte = UnicodeToWindows1252(text[i]);
        if (!byte) {
            return std::nullopt;
        }
        result[i] = static_cast<char>(*byte);
    }
    return result;
}

std::string Windows1252ToUtf8(std::string_view text) {
    return Utf16ToUtf8(Windows1252ToUtf16(text));
}

std::optional<DecodedCharacter> DecodeUtf8(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return DecodedCharacter{lead, 1};
    }
    // Length and the range of the second byte, which rules out overlong
    // forms, surrogates and what lies beyond U+10FFFF.
    struct Form {
        unsigned char lowestLead, highestLead;
        std::size_t length;
        unsigned char lowestSecond, highestSecond;
    };
    static constexpr Form kForms[] = {
        {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
        {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
        {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
    };
    for (const Form& form : kForms) {
        if (lead < form.lowestLead || lead > form.highestLead) {
            continue;
        }
        if (text.size() < form.length) {
            return std::nullopt;
        }
        char32_t character = lead & (0xFF >> (form.length + 1));
        for (std::size_t i = 1; i < form.length; ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            const bool inRange = i == 1 ? byte >= form.lowestSecond && byte <= form.highestSecond
                                        : byte >= 0x80 && byte <= 0xBF;
            if (!inRange) {
                return std::nullopt;
            }
            character = (character << 6) | (byte & 0x3F);
        }
        return DecodedCharacter{character, form.length};
    }
    return std::nullopt;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    while (!text.empty()) {
        const std::optional<DecodedCharacter> decoded = DecodeUtf8(text);
        const char32_t character = decoded ? decoded->character : U'\uFFFD';
        if (character >= 0x10000) {
            wide.push_back(static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(character));
        }
        text.remove_prefix(decoded ? decoded->length : 1);
    }
    return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t character = text[i];
        const bool high = character >= 0xD800 && character < 0xDC00;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            character = 0x10000 + ((character - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (character >= 0xD800 && character < 0xE000) {
            character = U'\uFFFD';  // a lone surrogate
        }
        if (character < 0x80) {
            bytes.push_back(static_cast<char>(character));
        } else if (character < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (character >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (character & 0x3F)));
        } else if (character < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (character >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (character & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (character >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((character >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (character & 0x3F)));
        }
    }
    return bytes;
}

}  // namespace text
