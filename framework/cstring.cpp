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
    if (length < 0) {
        text_.clear();
    } else {
        text_.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text_.data(), text_.size() + 1, format, arguments);
    }
    va_end(arguments);
}

BOOL CString::LoadString(UINT id) {
    framework::Parsed<std::string> entry = framework::LoadProgramString(id);
    if (!entry.value) {
        text_.clear();
        return FALSE;
    }
    text_ = std::move(*entry.value);
    return TRUE;
}
