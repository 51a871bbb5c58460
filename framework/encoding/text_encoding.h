// Conversions between the program's 8-bit texts (Windows-1252) and Unicode.
#pragma once

#include <string>
#include <string_view>

class QString;

namespace wertomat {

// For the widgets: program text to Qt text and back. Characters that
// Windows-1252 cannot hold are replaced by a substitute byte.
QString FromWindows1252(std::string_view text);
std::string ToWindows1252(const QString& text);

// For terminals and files.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace wertomat
