// The framework's string of 8-bit characters: every program text, stored as
// Windows-1252 bytes ("ü" is the single byte 0xFC).
#pragma once

#include <string>
#include <string_view>

#include "framework/types.h"

class CString {
public:
    CString() = default;
    explicit CString(const char* text) : text_(text != nullptr ? text : "") {}
    explicit CString(std::string_view text) : text_(text) {}
    explicit CString(std::string&& text) : text_(std::move(text)) {}

    CString& operator=(const char* text) {
        text_ = text != nullptr ? text : "";
        return *this;
    }
    CString& operator=(std::string&& text) {
        text_ = std::move(text);
        return *this;
    }
    friend CString operator+(const CString& left, std::string_view right) {
        CString joined(left);
        joined.text_ += right;
        return joined;
    }

    // printf-style, in the C locale.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Loads an entry of the program's string table; false (and empty) if there is none.
    BOOL LoadString(UINT id);

    bool IsEmpty() const { return text_.empty(); }
    void Empty() { std::string().swap(text_); }  // releases the memory as well
    const char* GetString() const { return text_.c_str(); }

    operator std::string_view() const { return text_; }  // NOLINT: used where text is expected
    const std::string& Bytes() const { return text_; }

    friend bool operator==(const CString&, const CString&) = default;

private:
    std::string text_;
};
