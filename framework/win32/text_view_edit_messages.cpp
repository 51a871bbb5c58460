// The messages of the platform's edit control that the results view answers
// as the edit does, from its model.
#include <algorithm>
#include <memory>
#include <string>

#include "framework/win32/text_view.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {

// What the platform's edit answers: its text and its selection.
LRESULT TextView::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_GETSEL: {
            const auto [first, last] = model_.Selection();
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(first);  // NOLINT
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(last);  // NOLINT
            }
            return MAKELRESULT(std::min<std::size_t>(first, 0xFFFF),
                               std::min<std::size_t>(last, 0xFFFF));
        }
        case EM_SETSEL: {
            // -1 as the start: no selection; a negative end: the text's end.
            // As an edit, no scrolling, so that tabbing in leaves the view where it is.
            const auto begin = static_cast<std::intptr_t>(wParam);
            const auto end = static_cast<std::intptr_t>(lParam);
            const std::size_t caret = end < 0 ? Bytes().size() : static_cast<std::size_t>(end);
            if (begin < 0) {
                model_.Select(model_.Caret(), model_.Caret(), false);
            } else {
                model_.Select(static_cast<std::size_t>(begin), caret, false);
            }
            return 0;
        }
        case EM_SCROLLCARET:
            model_.ScrollCaretIntoView();
            return 0;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(Bytes().size());
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);  // NOLINT(performance-no-int-to-ptr)
            if (wParam == 0 || buffer == nullptr) {
                return 0;
            }
            const std::wstring text = ToWide(Bytes().substr(0, wParam - 1));
            std::copy(text.begin(), text.end(), buffer);
            buffer[text.size()] = L'\0';
            return static_cast<LRESULT>(text.size());
        }
        case WM_SETTEXT: {
            const auto* wide = reinterpret_cast<const wchar_t*>(lParam);  // NOLINT
            std::optional<std::string> text = FromWide(wide != nullptr ? wide : L"");
            if (!text) {
                return FALSE;
            }
            SetText(text->empty() ? nullptr
                                  : std::make_shared<const std::string>(std::move(*text)));
            return TRUE;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace framework::win32
