#include "framework/cstring.h"

#include <cstdarg>
#include <cstdio>

#include "framework/resources.h"

void CString::Format(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    }
    va_end(arguments);
    *this = CString(std::move(text));
}

BOOL CString::LoadString(UINT id) {
    framework::Parsed<std::string> entry = framework::LoadProgramString(id);
    *this = CString(entry.value ? std::move(*entry.value) : std::string());
    return entry.value ? TRUE : FALSE;
}
