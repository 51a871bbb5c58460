// The main dialog and the About box.
#pragma once

#include "framework/dialog.h"
#include "resources/resource.h"

class CAboutDlg : public CDialogEx {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CWertomatDlg : public CDialogEx {
public:
    explicit CWertomatDlg(CWnd* pParent = nullptr);
    ~CWertomatDlg() override;

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBnClickedCompute();

    HICON m_hDialogIcon = nullptr;
    double m_xa = 0.0;     // Xa: start x
    double m_xsw = 0.1;    // Xsw: step width
    double m_xe = 2.0;     // Xe: end x
    int m_funktion = 0;    // checked polynomial, 0 to 2
    CString m_ergebnisse;  // the result table, empty at first

private:
    static const framework::MessageMapEntry messageEntries[];
};
