// The dialog's controls by id: commands, texts and radio groups.
#include "framework/qt/dialog_window.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>

#include "framework/dialog_manager/dialog_navigation.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"

namespace framework {

void DialogWindow::SendCommand(int id) {
    Message(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED));
}

QWidget* DialogWindow::Control(int id) const {
    const auto found =
        std::find_if(controls_.begin(), controls_.end(),
                     [id](const ControlEntry& entry) { return entry.form->id == id; });
    return found != controls_.end() ? found->widget : nullptr;
}

// The radio buttons of the group that starts at `firstId`.
std::vector<std::size_t> DialogWindow::RadioGroup(int firstId) const {
    const auto first =
        std::find_if(controls_.begin(), controls_.end(),
                     [firstId](const ControlEntry& e) { return e.form->id == firstId; });
    if (first == controls_.end()) {
        return {};
    }
    return dialog_manager::RadioGroup(form_.controls,
                                      static_cast<std::size_t>(first - controls_.begin()));
}

void DialogWindow::ClickRadio(std::size_t index) {
    CheckOnly(dialog_manager::RadioGroup(form_.controls,
                                         dialog_manager::GroupStart(form_.controls, index)),
              index);
    SendCommand(controls_[index].form->id);
}

// Checks the member `checked` (none if it is not in the group) and gives it the
// group's Tab stop, as the platform does for automatic radio buttons.
void DialogWindow::CheckOnly(const std::vector<std::size_t>& group, std::size_t checked) {
    for (const std::size_t member : group) {
        auto* radio = static_cast<QRadioButton*>(controls_[member].widget);
        radio->setChecked(member == checked);
        radio->setFocusPolicy(member == checked ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

// Arrow keys move through a radio group and check the button they reach; a
// radio button alone in its group keeps the focus (Qt's buttons would pass
// it on) and is checked, as the platform's dialog manager does.
bool DialogWindow::MoveInRadioGroup(QObject* watched, const QKeyEvent& key) {
    const bool backwards = key.key() == Qt::Key_Up || key.key() == Qt::Key_Left;
    const bool forwards = key.key() == Qt::Key_Down || key.key() == Qt::Key_Right;
    if (!(backwards || forwards) || key.modifiers() != Qt::NoModifier ||
        qobject_cast<QRadioButton*>(watched) == nullptr) {
        return false;
    }
    const auto current =
        std::find_if(controls_.begin(), controls_.end(),
                     [watched](const ControlEntry& e) { return e.widget == watched; });
    if (current == controls_.end()) {
        return false;
    }
    const std::optional<std::size_t> next = dialog_manager::NextRadio(
        form_.controls, static_cast<std::size_t>(current - controls_.begin()), forwards);
    if (!next.has_value()) {
        return false;
    }
    auto* reached = static_cast<QRadioButton*>(controls_[*next].widget);
    reached->setFocus(Qt::OtherFocusReason);
    if (!reached->isChecked()) {
        ClickRadio(*next);
    }
    return true;
}

// --- The seam's functions on the controls

namespace platform {

std::optional<SharedText> ControlText(const DialogWindow& window, int id) {
    QWidget* widget = window.Control(id);
    if (auto* view = qobject_cast<TextView*>(widget)) {
        return view->sharedText();
    }
    std::optional<std::string> text;
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        text = ToWindows1252(line->text());
    } else if (auto* editor = qobject_cast<QPlainTextEdit*>(widget)) {
        text = ToWindows1252(editor->toPlainText());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        text = ToWindows1252(button->text());
    }
    if (!text) {
        return std::nullopt;
    }
    return std::make_shared<const std::string>(std::move(*text));
}

// The seam's signature: the window's control changes, not the window object.
// cppcheck-suppress constParameter
void SetControlText(DialogWindow& window, int id, const SharedText& text) {
    QWidget* widget = window.Control(id);
    if (auto* view = qobject_cast<TextView*>(widget)) {
        view->setText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(FromWindows1252(BytesOf(text)));
    } else if (auto* editor = qobject_cast<QPlainTextEdit*>(widget)) {
        editor->setPlainText(FromWindows1252(BytesOf(text)));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(FromWindows1252(BytesOf(text)));
    }
}

int CheckedRadioIndex(const DialogWindow& window, int firstId) {
    const std::vector<std::size_t> group = window.RadioGroup(firstId);
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (static_cast<QRadioButton*>(window.controls_[group[i]].widget)->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CheckRadio(DialogWindow& window, int firstId, int index) {
    const std::vector<std::size_t> group = window.RadioGroup(firstId);
    const bool inGroup = index >= 0 && static_cast<std::size_t>(index) < group.size();
    window.CheckOnly(group,
                     inGroup ? group[static_cast<std::size_t>(index)] : window.controls_.size());
}

}  // namespace platform
}  // namespace framework
