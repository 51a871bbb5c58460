// The results' selection on the clipboard: its text at once (CF_UNICODETEXT),
// and where it covers cells the table flavour ("HTML Format") that
// spreadsheets read as numbers, made only when a program asks for it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "framework/win32/wide_text.h"

namespace framework::win32 {

class ClipboardOffer {
public:
    // `owner` gets the clipboard's render messages, which go to Handle().
    void Copy(HWND owner, const SharedText& text, std::size_t first, std::size_t last);
    // Answers WM_RENDERFORMAT, WM_RENDERALLFORMATS and WM_DESTROYCLIPBOARD;
    // false for every other message.
    bool Handle(HWND owner, UINT message, WPARAM wParam);

private:
    struct Selection {
        SharedText text;  // kept until another program owns the clipboard
        std::size_t first;
        std::size_t last;
    };
    std::optional<Selection> offered_;
};

}  // namespace framework::win32
