// Conversions between the program's 8-bit texts (Windows-1252) and Unicode.
// A plain table of our own, so that nothing here depends on a toolkit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

// Every byte has a character: code page 1252 differs from Latin-1 only in
// 0x80 to 0x9F, and its five unassigned bytes there stand for the C1 controls
// of the same number, as the platform's own conversion has it.
char16_t Windows1252ToUnicode(unsigned char byte);
// The byte for a UTF-16 code unit, or nullopt when code page 1252 has none.
std::optional<unsigned char> UnicodeToWindows1252(char16_t character);

std::u16string Windows1252ToUtf16(std::string_view text);
// Nullopt when any character has no Windows-1252 form: nothing is dropped or
// replaced, so a text never reads as something other than it shows.
std::optional<std::string> Utf16ToWindows1252(std::u16string_view text);

// For terminals and files.
std::string Windows1252ToUtf8(std::string_view text);

// The first character of UTF-8 `text` and the bytes it takes; nullopt when
// the text does not start with a well-formed character (a stray byte, an
// overlong form, a surrogate, beyond U+10FFFF, cut short).
struct DecodedCharacter {
    char32_t character;
    std::size_t length;
};
std::optional<DecodedCharacter> DecodeUtf8(std::string_view text);

// Between UTF-8 and UTF-16, for a platform whose interfaces speak UTF-16:
// what is not well-formed becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace text
