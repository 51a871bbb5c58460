// The toolkit side of a dialog: the window built from a template, its
// controls, and the translation of toolkit events into the messages the
// dialog's message map receives.
#pragma once

#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/dialog_manager/dialog_sizing.h"
#include "framework/platform.h"
#include "framework/qt/dialog_units.h"
#include "framework/resource_file/resource_file.h"

class CDialog;
class QPaintEvent;

namespace framework {

// Whether `style` has every one of `bits`.
inline bool HasStyle(DWORD style, DWORD bits) {
    return (style & bits) == bits;
}

class DialogWindow : public QDialog {
    Q_OBJECT

public:
    // The window of `dialog`, which it reaches only as the platform's dialog
    // manager does: through DialogMessage().
    DialogWindow(CDialog& dialog, const DialogTemplate& form, QWidget* parent);
    ~DialogWindow() override;

    // Shows the window modally until platform::EndModal() and returns the
    // code given to it, or -1 when the window is destroyed during the run.
    int RunModal();

    const DialogTemplate& Form() const { return form_; }
    DialogBaseUnits BaseUnits() const { return baseUnits_; }

    QWidget* Control(int id) const;
    void FocusFirstTabStop();

    // From the keyboard, the first entry is highlighted, as in the platform's
    // menus, and the command chosen carries no position.
    void SetSystemMenu(std::vector<MenuItem> items) { systemMenu_ = std::move(items); }
    void AppendToSystemMenu(const MenuItem& item) { systemMenu_.push_back(item); }
    // The dialog lets the window go: nothing to tell it when it is deleted.
    void DeleteByDialog() {
        deletedByDialog_ = true;
        delete this;
    }
    void ShowSystemMenu(QPoint globalPosition, bool fromKeyboard);
    // Moving or sizing by the arrow keys, as the system menu offers them to the
    // keyboard: Enter keeps the new place, Escape goes back.
    enum class Tracking { None, Move, Size };
    void TrackByKeys(Tracking tracking);
    // The paint event being handled, if any: painting is possible only then.
    QPaintEvent* ActivePaintEvent() const { return activePaintEvent_; }
    void PaintBackground(QPaintEvent* event) { QDialog::paintEvent(event); }

    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The seam's functions that work on the controls and the run.
    friend int platform::CheckedRadioIndex(const DialogWindow& window, int firstId);
    friend void platform::CheckRadio(DialogWindow& window, int firstId, int index);
    friend void platform::EndModal(DialogWindow& window, int result);

private:
    struct ControlEntry {
        const ControlTemplate* form;
        QWidget* widget;
    };

    void CreateControl(const ControlTemplate& control);
    QWidget* CreateStatic(const ControlTemplate& control);
    QWidget* CreateEdit(const ControlTemplate& control);
    QWidget* CreateButton(const ControlTemplate& control);
    void FollowTheFrame(QSize formSize);
    void SetTabOrder();
    void NameFieldsByTheirLabels();
    bool UseMnemonic(const QKeyEvent& key);
    bool MoveByTab(QObject* watched, const QKeyEvent& key);
    Qt::WindowStates OfferedStates() const;
    bool MoveInRadioGroup(QObject* watched, const QKeyEvent& key);
    bool MoveByWords(QObject* watched, const QKeyEvent& key);
    void TrackKey(const QKeyEvent& key);
    bool OpenContextMenuByKey(QObject* watched, const QKeyEvent& key);
    void SendCommand(int id);
    // Radio groups run from a control to the next one with WS_GROUP; these
    // hold the indices of the radio buttons among the controls.
    std::vector<std::size_t> RadioGroup(int firstId) const;
    void CheckOnly(const std::vector<std::size_t>& group, std::size_t checked);
    void ClickRadio(std::size_t index);

    // A message for the dialog, with its result.
    std::intptr_t Message(std::uint32_t message, std::uintptr_t wParam = 0,
                          std::intptr_t lParam = 0);

    CDialog& dialog_;
    // The system menu's entries, as the dialog made them (empty: none).
    std::vector<MenuItem> systemMenu_;
    bool deletedByDialog_ = false;
    const DialogTemplate& form_;
    DialogBaseUnits baseUnits_{};
    std::vector<ControlEntry> controls_;
    // While a modal run waits: its loop and where EndModal() puts the result. Both
    // live on the stack of RunModal, which outlives nothing of the window.
    QEventLoop* modalLoop_ = nullptr;
    int* modalResult_ = nullptr;
    QPaintEvent* activePaintEvent_ = nullptr;
    Tracking tracking_ = Tracking::None;
    QRect trackingStart_;  // the frame's geometry when tracking began
    int result_ = 0;
    bool ended_ = false;
    // With a sizing frame: the form's client size, each control's place in
    // it, and how each follows the frame (in the order of controls_).
    QSize formSize_;
    QSize smallest_;
    std::vector<ControlBox> formBoxes_;
    std::vector<Following> following_;
};

}  // namespace framework
