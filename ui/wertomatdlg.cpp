#include "ui/wertomatdlg.h"

#include <algorithm>
#include <cassert>
#include <string>
#include <string_view>
#include <utility>

#include "core/tabulation.h"
#include "framework/winapp.h"
#include "messages/messages.h"

namespace {

// What screen readers say when a new table is there: how many rows it has.
CString RowsComputedText(std::size_t rows) {
    return rows == 1 ? CString("1 Zeile berechnet")
                     : CString(std::to_string(rows) + " Zeilen berechnet");
}

}  // namespace

// --- CAboutDlg

constinit const framework::MessageMap CAboutDlg::messageMap{&CDialogEx::messageMap, {}};

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUT_DIALOG, nullptr) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
}

// --- CWertomatDlg

const framework::MessageMapEntry CWertomatDlg::messageEntries[] = {
    framework::SysCommandEntry<&CWertomatDlg::OnSysCommand>(),
    framework::PaintEntry<&CWertomatDlg::OnPaint>(),
    framework::QueryDragIconEntry<&CWertomatDlg::OnQueryDragIcon>(),
    framework::ButtonClickedEntry<IDC_COMPUTE, &CWertomatDlg::OnBnClickedCompute>(),
};

constinit const framework::MessageMap CWertomatDlg::messageMap{&CDialogEx::messageMap,
                                                               CWertomatDlg::messageEntries};

CWertomatDlg::CWertomatDlg(CWnd* pParent) : CDialogEx(IDD_MAIN_DIALOG, pParent) {
    // Without an application object there is no icon; the dialog works all the same.
    if (CWinApp* app = AfxGetApp(); app != nullptr) {
        m_hDialogIcon = app->LoadIcon(IDI_MAIN_ICON);
    }
}

CWertomatDlg::~CWertomatDlg() = default;

void CWertomatDlg::DoDataExchange(CDataExchange* pDX) {
    CDialogEx::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_XA, m_xa);
    DDX_Text(pDX, IDC_XSW, m_xsw);
    DDX_Text(pDX, IDC_XE, m_xe);
    DDX_Radio(pDX, IDC_FUNCTION_0, m_funktion);
    DDX_Text(pDX, IDC_RESULTS, m_ergebnisse);
}

BOOL CWertomatDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();

    // The About entry goes at the end of the system menu.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE); pSysMenu != nullptr) {
        CString strAboutMenu;
        [[maybe_unused]] const BOOL bNameValid = strAboutMenu.LoadString(IDS_ABOUT_MENU_TEXT);
        assert(bNameValid);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, ID_SYSMENU_ABOUT, strAboutMenu);
        }
    }

    SetIcon(m_hDialogIcon, TRUE);
    SetIcon(m_hDialogIcon, FALSE);
    return TRUE;  // focus to the first control with a tab stop
}

void CWertomatDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == ID_SYSMENU_ABOUT) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialogEx::OnSysCommand(nID, lParam);
    }
}

void CWertomatDlg::OnPaint() {
    if (!IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

    // The icon centred in the client area.
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hDialogIcon);
}

HCURSOR CWertomatDlg::OnQueryDragIcon() {
    return m_hDialogIcon;
}

void CWertomatDlg::OnBnClickedCompute() {
    // A field that is not a number has been reported by the exchange; going on
    // would tabulate the previous values and overwrite what the user typed.
    if (!UpdateData(TRUE)) {
        return;
    }
    wertomat::TabulationOutcome outcome = wertomat::RunTabulation({m_xa, m_xsw, m_xe, m_funktion});
    if (!outcome.succeeded) {
        AfxMessageBox(CString(messages::ForRefusal(outcome.refusal)), MB_OK, 0);
        return;
    }
    m_ergebnisse = std::move(outcome.text);
    UpdateData(FALSE);
    Announce(RowsComputedText(outcome.rows));
}
