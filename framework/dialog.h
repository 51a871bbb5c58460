// Dialogs built from templates, their modal run and the data exchange between
// controls and member fields.
#pragma once

#include <cstdint>

#include "framework/cstring.h"
#include "framework/wnd.h"

using INT_PTR = std::intptr_t;

class CDialog;

// One run of a dialog's exchange table, in one direction. Once a control could
// not be read, the exchange has failed and the remaining steps do nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // Marks the exchange as failed after the framework has told the user why.
    void Fail(int controlId);
    bool HasFailed() const { return failed_; }

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to fields; FALSE: fields to controls

private:
    bool failed_ = false;
};

// A double with an edit field's text. A text that is not a number is reported
// ("Bitte eine Zahl eingeben") and leaves the field's value as it was.
void DDX_Text(CDataExchange* pDX, int controlId, double& value);
// A string with an edit field's text.
void DDX_Text(CDataExchange* pDX, int controlId, CString& value);
// The index of the checked button in the radio group that starts at
// `firstButtonId`; -1 when none is checked.
void DDX_Radio(CDataExchange* pDX, int firstButtonId, int& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the window from the template, runs it until EndDialog and
    // destroys it again. Returns the end code, or -1 if the window could not
    // be made.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Runs the exchange: TRUE reads the controls into the fields, FALSE writes
    // the fields into the controls. Returns whether every step succeeded.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    UINT templateId_;
    CWnd* parent_;
};

class CDialogEx : public CDialog {
public:
    explicit CDialogEx(UINT templateId, CWnd* pParentWnd = nullptr)
        : CDialog(templateId, pParentWnd) {}

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;
};
