#include "framework/win32/clipboard.h"

#include <cstring>
#include <string>
#include <string_view>

#include "framework/results_view/spreadsheet_table.h"
#include "framework/win32/user_locale.h"
#include "framework/win32/wide_text.h"

namespace framework::win32 {
namespace {

UINT TableFormat() {
    static const UINT format = RegisterClipboardFormatW(L"HTML Format");
    return format;
}

// Memory for the clipboard, filled by `fill` with exactly `size` bytes.
template <typename Fill>
HGLOBAL GlobalMemory(std::size_t size, Fill&& fill) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    fill(static_cast<char*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    return memory;
}

// The "HTML Format" header and document, as one string of UTF-8 bytes;
// null when the selection covers no table.
HGLOBAL RenderedTable(std::string_view text, std::size_t first, std::size_t last) {
    const auto table = SpreadsheetTable::Of(text, first, last, SpreadsheetFormat::Html,
                                            UserNumberConvention().decimalMark);
    if (!table.has_value()) {
        return nullptr;
    }
    const std::string header = table->ClipboardHeader();
    return GlobalMemory(header.size() + table->Length() + 1, [&](char* out) {
        std::memcpy(out, header.data(), header.size());
        table->WriteTo(out + header.size());
        out[header.size() + table->Length()] = '\0';
    });
}

}  // namespace

void ClipboardOffer::Copy(HWND owner, const SharedText& text, std::size_t first, std::size_t last) {
    const std::string_view bytes = text != nullptr ? *text : std::string_view();
    const std::wstring wide = ToWide(bytes.substr(first, last - first));
    const std::size_t size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalMemory(size, [&](char* out) { std::memcpy(out, wide.c_str(), size); });
    if (memory == nullptr || !OpenClipboard(owner)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();  // WM_DESTROYCLIPBOARD drops what this owner offered before
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
    }
    if (SpreadsheetTable::Covers(bytes, first, last, SpreadsheetFormat::Html)) {
        offered_ = Selection{text, first, last};
        SetClipboardData(TableFormat(), nullptr);  // rendered on WM_RENDERFORMAT
    }
    CloseClipboard();
}

bool ClipboardOffer::Handle(HWND owner, UINT message, WPARAM wParam) {
    const auto putTable = [this] {
        if (!offered_.has_value() || offered_->text == nullptr) {
            return;
        }
        HGLOBAL table = RenderedTable(*offered_->text, offered_->first, offered_->last);
        if (table != nullptr && SetClipboardData(TableFormat(), table) == nullptr) {
            GlobalFree(table);
        }
    };
    switch (message) {
        case WM_RENDERFORMAT:
            if (wParam == TableFormat()) {
                putTable();
            }
            return true;
        case WM_RENDERALLFORMATS:  // the owner goes: render now, if still the owner
            if (OpenClipboard(owner)) {
                if (GetClipboardOwner() == owner) {
                    putTable();
                }
                CloseClipboard();
            }
            return true;
        case WM_DESTROYCLIPBOARD:
            offered_.reset();
            return true;
        default:
            return false;
    }
}

}  // namespace framework::win32
