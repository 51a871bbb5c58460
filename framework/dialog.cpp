#include "framework/dialog.h"

#include <QApplication>

#include "framework/numbertext/number_text.h"
#include "framework/qt/dialog_window.h"
#include "framework/resources.h"
#include "framework/winapp.h"

namespace {

constexpr const char* kNotANumberMessage = "Bitte eine Zahl eingeben";

framework::DialogWindow* WindowOf(CDataExchange* pDX) {
    return pDX != nullptr && pDX->m_pDlgWnd != nullptr ? pDX->m_pDlgWnd->Window() : nullptr;
}

}  // namespace

// --- Data exchange

void CDataExchange::Fail(int controlId) {
    failed_ = true;
    if (framework::DialogWindow* window = m_pDlgWnd != nullptr ? m_pDlgWnd->Window() : nullptr) {
        window->FocusAndSelect(controlId);
    }
}

void DDX_Text(CDataExchange* pDX, int controlId, double& value) {
    framework::DialogWindow* window = WindowOf(pDX);
    if (window == nullptr || pDX->HasFailed()) {
        return;
    }
    if (!pDX->m_bSaveAndValidate) {
        window->SetControlText(controlId, wertomat::FormatNumber(value));
        return;
    }
    const std::optional<std::string> text = window->ControlText(controlId);
    const std::optional<double> number =
        text.has_value() ? wertomat::ParseNumber(*text) : std::nullopt;
    if (!number) {
        AfxMessageBox(kNotANumberMessage, MB_ICONEXCLAMATION);
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
        window->SetControlText(controlId, value);
        return;
    }
    if (std::optional<std::string> text = window->ControlText(controlId)) {
        value = std::move(*text);
    }
}

void DDX_Radio(CDataExchange* pDX, int firstButtonId, int& value) {
    framework::DialogWindow* window = WindowOf(pDX);
    if (window == nullptr || pDX->HasFailed()) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = window->CheckedRadioIndex(firstButtonId);
    } else {
        window->CheckRadio(firstButtonId, value);
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
    const framework::DialogTemplate* form =
        framework::FindDialogTemplate(static_cast<int>(templateId_));
    if (form == nullptr || QApplication::instance() == nullptr) {
        return -1;
    }
    // Without a parent of its own a dialog is modal over the main window.
    CWnd* parent = parent_;
    if (parent == nullptr && AfxGetApp() != nullptr && AfxGetApp()->m_pMainWnd != this) {
        parent = AfxGetApp()->m_pMainWnd;
    }
    QWidget* parentWidget = parent != nullptr ? parent->Widget() : nullptr;
    AttachWindow(std::make_unique<framework::DialogWindow>(*this, *form, parentWidget));

    if (OnInitDialog()) {
        Window()->FocusFirstTabStop();
    }
    const int result = Window()->RunModal();
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result) {
    if (Window() != nullptr) {
        Window()->End(result);
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
