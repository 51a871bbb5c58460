// The messages of the platform's edit control that the results view answers
// as the edit does, from its model.
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/win32/message_parameters.h"
#include "framework/win32/text_view.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {

namespace {

// A character index or line number in wParam; -1 stands for "where the caret is".
bool MeansCaret(WPARAM value) {
    return static_cast<int>(value) == -1;
}

LRESULT PointResult(ViewPoint point) {
    return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(std::clamp(point.x, -32768, 32767))),
                       static_cast<WORD>(static_cast<SHORT>(std::clamp(point.y, -32768, 32767))));
}

}  // namespace

// What the platform's edit answers: its text and its selection.
LRESULT TextView::HandleEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_GETSEL: {
            const auto [first, last] = model_.Selection();
            if (wParam != 0) {
                *PointerFrom<DWORD*>(wParam) = static_cast<DWORD>(first);
            }
            if (lParam != 0) {
                *PointerFrom<DWORD*>(lParam) = static_cast<DWORD>(last);
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
            auto* buffer = PointerFrom<wchar_t*>(lParam);
            if (wParam == 0 || buffer == nullptr) {
                return 0;
            }
            const std::wstring text = ToWide(Bytes().substr(0, wParam - 1));
            std::copy(text.begin(), text.end(), buffer);
            buffer[text.size()] = L'\0';
            return static_cast<LRESULT>(text.size());
        }
        case WM_SETTEXT: {
            const auto* wide = PointerFrom<const wchar_t*>(lParam);
            std::optional<std::string> text = FromWide(wide != nullptr ? wide : L"");
            if (!text) {
                return FALSE;
            }
            SetText(text->empty() ? nullptr
                                  : std::make_shared<const std::string>(std::move(*text)));
            return TRUE;
        }
        default:
            return HandleLineMessage(message, wParam, lParam);
    }
}

// The edit's line messages, which screen readers and magnifiers use to read a
// line and to find the caret.
LRESULT TextView::HandleLineMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const TextLayout& layout = model_.Layout();
    const std::size_t size = Bytes().size();
    const auto [first, last] = model_.Selection();
    switch (message) {
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(layout.LineCount());
        case EM_GETFIRSTVISIBLELINE:
            return static_cast<LRESULT>(model_.FirstVisibleLine());
        case EM_LINEINDEX: {
            const std::size_t line = MeansCaret(wParam) ? layout.LineOf(model_.Caret()) : wParam;
            return line < layout.LineCount() ? static_cast<LRESULT>(layout.LineStart(line)) : -1;
        }
        case EM_LINEFROMCHAR:
            return static_cast<LRESULT>(
                layout.LineOf(MeansCaret(wParam) ? first : std::min(wParam, size)));
        case EM_LINELENGTH: {
            if (MeansCaret(wParam)) {  // what is not selected on the selection's lines
                const std::size_t before = first - layout.LineStart(layout.LineOf(first));
                return static_cast<LRESULT>(before + layout.LineEnd(layout.LineOf(last)) - last);
            }
            if (wParam > size) {
                return 0;
            }
            const std::size_t line = layout.LineOf(wParam);
            return static_cast<LRESULT>(layout.LineEnd(line) - layout.LineStart(line));
        }
        case EM_GETLINE: {
            auto* buffer = PointerFrom<wchar_t*>(lParam);
            if (buffer == nullptr || wParam >= layout.LineCount()) {
                return 0;
            }
            // The buffer's first word holds its capacity; no terminator is written.
            const std::size_t capacity = *reinterpret_cast<const WORD*>(buffer);
            const std::size_t begin = layout.LineStart(wParam);
            const std::wstring line =
                ToWide(Bytes().substr(begin, std::min(capacity, layout.LineEnd(wParam) - begin)));
            std::copy(line.begin(), line.end(), buffer);
            return static_cast<LRESULT>(line.size());
        }
        case EM_POSFROMCHAR:
            return wParam < size ? PointResult(model_.PointOf(wParam)) : -1;
        case EM_CHARFROMPOS: {
            const std::size_t offset =
                model_.OffsetAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return MAKELRESULT(static_cast<WORD>(offset), static_cast<WORD>(layout.LineOf(offset)));
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace framework::win32
