// The framework's string of 8-bit characters: every program text, stored as
// Windows-1252 bytes ("ü" is the single byte 0xFC). Copies share one buffer,
// counted by reference; every change builds a new buffer and leaves the
// others' alone (copy on write), so a large table passes between the results
// field and the dialog's member without being copied.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/windef/windef.h"

class CString {
public:
    CString() = default;
    explicit CString(const char* text) : CString(std::string(text != nullptr ? text : "")) {}
    explicit CString(std::string_view text) : CString(std::string(text)) {}
    explicit CString(std::string&& text) {
        if (!text.empty()) {
            text_ = std::make_shared<const std::string>(std::move(text));
        }
    }
    // Takes over a shared buffer, as a control that keeps its text hands it out.
    explicit CString(std::shared_ptr<const std::string> buffer) {
        if (buffer != nullptr && !buffer->empty()) {
            text_ = std::move(buffer);
        }
    }

    CString& operator=(const char* text) { return *this = CString(text); }
    CString& operator=(std::string&& text) { return *this = CString(std::move(text)); }
    friend CString operator+(const CString& left, std::string_view right) {
        std::string joined;
        joined.reserve(left.Bytes().size() + right.size());
        joined.append(left.Bytes()).append(right);
        return CString(std::move(joined));
    }

    // printf-style, in the C locale.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Loads an entry of the program's string table; false (and empty) if there is none.
    BOOL LoadString(UINT id);

    bool IsEmpty() const { return text_ == nullptr; }
    void Empty() { text_.reset(); }  // lets go of the buffer as well
    const char* GetString() const { return Bytes().c_str(); }

    operator std::string_view() const { return Bytes(); }  // NOLINT: used where text is expected
    const std::string& Bytes() const { return text_ != nullptr ? *text_ : EmptyText(); }
    // The buffer itself, for a control that keeps the text as it is; null when empty.
    const std::shared_ptr<const std::string>& SharedBuffer() const { return text_; }
    // Whether both hold the very same buffer (not merely equal bytes).
    bool SharesBufferWith(const CString& other) const { return text_ == other.text_; }

    friend bool operator==(const CString& left, const CString& right) {
        return left.Bytes() == right.Bytes();
    }

private:
    static const std::string& EmptyText() {
        static const std::string empty;
        return empty;
    }

    std::shared_ptr<const std::string> text_;  // null when empty
};
