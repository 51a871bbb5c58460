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

    HICON m_hDialogIcon;
    double m_xa;          // Xa: start x
    double m_xsw;         // Xsw: step width
    double m_xe;          // Xe: end x
    int m_funktion;       // checked polynomial, 0 to 2
    CString m_ergebnisse; // the result table

private:
    static const framework::MessageMapEntry messageEntries[];
};
