#include "framework/win32/user_locale.h"

#include <windows.h>

namespace framework::win32 {
namespace {

// The first character of the user's setting, when it is ASCII.
char UserSetting(LCTYPE setting, char fallback) {
    wchar_t value[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, setting, value, 8) == 0 || value[0] == L'\0' ||
        value[0] > 0x7F) {
        return fallback;
    }
    return static_cast<char>(value[0]);
}

}  // namespace

NumberConvention UserNumberConvention() {
    const char mark = UserSetting(LOCALE_SDECIMAL, '.') == ',' ? ',' : '.';
    char separator = UserSetting(LOCALE_SLIST, ',');
    // A separator a CSV reader could not tell from a number or a quoted field
    // gives way to the usual one.
    if (separator == mark || separator == '"' || separator == '-' ||
        (separator >= '0' && separator <= '9') || separator == ' ') {
        separator = mark == ',' ? ';' : ',';
    }
    return {mark, separator};
}

}  // namespace framework::win32
