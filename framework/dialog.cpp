#include "framework/dialog.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "framework/platform.h"
#include "framework/resources.h"
#include "framework/winapp.h"
#include "text/number_text.h"

namespace {

framework::DialogWindow* WindowOf(CDataExchange* pDX) {
    return pDX != nullptr && pDX->m_pDlgWnd != nullptr ? pDX->m_pDlgWnd->Window() : nullptr;
}

std::optional<CString> ControlText(const framework::DialogWindow& window, int controlId) {
    std::optional<framework::platform::SharedText> text =
        framework::platform::ControlText(window, controlId);
    if (!text) {
        return std::nullopt;
    }
    return CString(std::move(*text));
}

}  // namespace

// --- Data exchange

void CDataExchange::Fail(int controlId) {
    failed_ = true;
    if (framework::DialogWindow* window = WindowOf(this)) {
        framework::platform::FocusControl(*window, controlId);
    }
}

void DDX_Text(CDataExchange* pDX, int controlId, double& value) {
    framework::DialogWindow* window = WindowOf(pDX);
    if (window == nullptr || pDX->HasFailed()) {
        return;
    }
    const std::optional<CString> text = ControlText(*window, controlId);
    const std::variant<double, text::NumberRefusal> reading =
        text.has_value() ? text::ReadNumber(*text) : text::NumberRefusal::NotANumber;
    const double* number = std::get_if<double>(&reading);
    if (!pDX->m_bSaveAndValidate) {
        // What the user typed stays as typed while it reads as exactly this value.
        if (number == nullptr ||
            std::bit_cast<std::uint64_t>(*number) != std::bit_cast<std::uint64_t>(value)) {
            framework::platform::SetControlText(*window, controlId,
                                                CString(text::FormatNumber(value)).SharedBuffer());
        }
        return;
    }
    if (number == nullptr) {
        AfxMessageBox(
            CString(std::string(text::RefusalMessage(std::get<text::NumberRefusal>(reading)))),
            MB_ICONEXCLAMATION);
        pDX->Fail(controlId);
        return;
    }
    value = *number;
}

void DDX_Text(CDataExchange* pDX, int controlId, CString& value) {
    framework::DialogWindow* window = WindowOf(pDX);
    if (window == nullptr || pDX->HasFailed()) {
        return;
    }
    if (!pDX->m_bSaveAndValidate) {
        framework::platform::SetControlText(*window, controlId, value.SharedBuffer());
        return;
    }
    if (std::optional<CString> text = ControlText(*window, controlId)) {
        value = std::move(*text);
    }
}

void DDX_Radio(CDataExchange* pDX, int firstButtonId, int& value) {
    framework::DialogWindow* window = WindowOf(pDX);
    if (window == nullptr || pDX->HasFailed()) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = framework::platform::CheckedRadioIndex(*window, firstButtonId);
    } else {
        framework::platform::CheckRadio(*window, firstButtonId, value);
    }
}

// --- CDialog

namespace {

constexpr framework::MessageMapEntry kDialogEntries[] = {
    framework::CommandEntry<IDOK, &CDialog::OnOK>(),
    framework::CommandEntry<IDCANCEL, &CDialog::OnCancel>(),
};

}  // namespace

constinit const framework::MessageMap CDialog::messageMap{&CWnd::messageMap, kDialogEntries};
constinit const framework::MessageMap CDialogEx::messageMap{&CDialog::messageMap, {}};

CDialog::CDialog(UINT templateId, CWnd* pParentWnd)
    : templateId_(templateId), parent_(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    const auto form = framework::LoadDialogTemplate(static_cast<int>(templateId_));
    if (!form.value) {
        std::fprintf(stderr, "%.*s: Dialogvorlage %u kann nicht geladen werden: %.*s\n",
                     static_cast<int>(framework::ApplicationName().size()),
                     framework::ApplicationName().data(), templateId_,
                     static_cast<int>(form.error.size()), form.error.data());
        framework::NoteDialogFailedToLoad();
        return -1;
    }
    // Without a parent of its own a dialog is modal over the main window.
    CWnd* parent = parent_;
    if (parent == nullptr && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd != this) {
        parent = AfxGetApp()->m_pMainWnd;
    }
    const std::weak_ptr<const bool> alive = Lifetime();
    const INT_PTR result =
        framework::platform::RunModalDialog(*this, static_cast<int>(templateId_), **form.value,
                                            parent != nullptr ? parent->Window() : nullptr);
    if (alive.expired()) {
        return result;  // a handler destroyed the dialog during its own run
    }
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result) {
    if (Window() != nullptr) {
        framework::platform::EndModal(*Window(), result);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return exchange.HasFailed() ? FALSE : TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;  // the exchange has told the user what to change
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// --- What a backend calls

void framework::AttachDialogWindow(CDialog& dialog, platform::DialogWindowPointer window) {
    dialog.AttachWindow(std::move(window));
}

bool framework::InitializeDialog(CDialog& dialog) {
    return dialog.OnInitDialog() != FALSE;
}

std::intptr_t framework::DialogMessage(CDialog& dialog, std::uint32_t message,
                                       std::uintptr_t wParam, std::intptr_t lParam) {
    return dialog.SendMessage(message, wParam, lParam);
}
