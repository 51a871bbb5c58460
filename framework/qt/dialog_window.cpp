#include "framework/qt/dialog_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/platform.h"
#include "framework/qt/accessibility.h"
#include "framework/qt/icon_data.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"
#include "framework/wnd.h"

namespace framework {
namespace {

bool HasStyle(DWORD style, DWORD bits) {
    return (style & bits) == bits;
}

// An automatic radio button: a click always checks it; the dialog unchecks the others.
class AutoRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

// Static text: '&' marks a mnemonic unless SS_NOPREFIX is set; "&&" is an ampersand.
QString StaticCaption(std::string_view caption, bool noPrefix) {
    const QString text = FromWindows1252(caption);
    if (noPrefix) {
        return text.toHtmlEscaped();
    }
    QString html;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            html += text[i] == u'&' ? QStringLiteral("&amp;")
                                    : QStringLiteral("<u>") + QString(text[i]).toHtmlEscaped() +
                                          QStringLiteral("</u>");
        } else {
            html += QString(text[i]).toHtmlEscaped();
        }
    }
    return html;
}

// The style's panel loses its right and bottom lines at fractional scales
// (1.5 device pixels to the pixel); a plain box keeps all four.
QFrame::Shape BorderShape() {
    const qreal ratio = qApp->devicePixelRatio();
    return ratio == std::floor(ratio) ? QFrame::StyledPanel : QFrame::Box;
}

QFont TemplateFont(const FontTemplate& font, DWORD style, const QWidget& window) {
    QFont result = QApplication::font();
    // The shell dialog font stands for the desktop's own interface font.
    if (!HasStyle(style, DS_FIXEDSYS) && font.face != "MS Shell Dlg" &&
        font.face != "MS Shell Dlg 2") {
        result = QFont(FromWindows1252(font.face));
    }
    const int dpi =
        window.screen() != nullptr ? static_cast<int>(window.screen()->logicalDotsPerInchY()) : 96;
    result.setPixelSize(MulDiv(font.points, dpi, 72));
    result.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
    result.setItalic(font.italic);
    return result;
}

}  // namespace

DialogWindow::DialogWindow(CWnd& owner, const DialogTemplate& form, QWidget* parent)
    : QDialog(parent), owner_(owner), form_(form) {
    Qt::WindowFlags flags = HasStyle(form.extendedStyle, WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if (HasStyle(form.style, WS_CAPTION)) {
        flags |= Qt::WindowTitleHint;
    }
    if (HasStyle(form.style, WS_SYSMENU)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (HasStyle(form.style, WS_CAPTION | WS_MINIMIZEBOX)) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (HasStyle(form.style, WS_CAPTION | WS_MAXIMIZEBOX)) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    setWindowFlags(flags);
    setWindowTitle(FromWindows1252(form.title));
    setSizeGripEnabled(false);

    setFont(TemplateFont(form.font, form.style, *this));
    baseUnits_ = BaseUnitsOf(font());
    const QSize clientSize(HorizontalPixels(form.width, baseUnits_),
                           VerticalPixels(form.height, baseUnits_));
    if (HasStyle(form.style, WS_THICKFRAME)) {
        resize(clientSize);
    } else {
        setFixedSize(clientSize);
    }

    InstallAccessibility();
    for (const ControlTemplate& control : form.controls) {
        CreateControl(control);
    }
    SetTabOrder();
    NameFieldsByTheirLabels();
    if (HasStyle(form.style, WS_THICKFRAME)) {
        FollowTheFrame(clientSize);
    }

    if (HasStyle(form.style, WS_SYSMENU)) {
        auto* systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
        systemMenuKey->setContext(Qt::WindowShortcut);
        connect(systemMenuKey, &QShortcut::activated, this,
                [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0)), true); });
    }
}

DialogWindow::~DialogWindow() {
    owner_.ForgetWindow();
    if (modalLoop_ != nullptr) {
        modalLoop_->exit(0);  // the run's result stays -1
    }
}

// An edit field is named by the static text before it, as the platform's
// dialog manager names it for screen readers.
void DialogWindow::NameFieldsByTheirLabels() {
    for (std::size_t index = 1; index < controls_.size(); ++index) {
        const ControlTemplate& label = *controls_[index - 1].form;
        if (controls_[index].form->controlClass == ControlClass::Edit &&
            label.controlClass == ControlClass::Static && (label.style & SS_TYPEMASK) != SS_ICON) {
            controls_[index].widget->setAccessibleName(FromWindows1252(label.caption).remove(u'&'));
        }
    }
}

// Whether some control of the form has `letter` as its mnemonic ("&X").
bool DialogWindow::HasMnemonic(QChar letter) const {
    return std::any_of(controls_.begin(), controls_.end(), [letter](const ControlEntry& entry) {
        const QString caption = FromWindows1252(entry.form->caption);
        const qsizetype mark = caption.indexOf(u'&');
        return mark >= 0 && mark + 1 < caption.size() &&
               caption[mark + 1].toLower() == letter.toLower();
    });
}

// Tab order is template order.
void DialogWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const ControlEntry& entry : controls_) {
        if (entry.widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous != nullptr) {
            setTabOrder(previous, entry.widget);
        }
        previous = entry.widget;
    }
}

void DialogWindow::CreateControl(const ControlTemplate& control) {
    QWidget* widget = nullptr;
    switch (control.controlClass) {
        case ControlClass::Static:
            widget = CreateStatic(control);
            break;
        case ControlClass::Edit:
            widget = CreateEdit(control);
            break;
        case ControlClass::Button:
            widget = CreateButton(control);
            break;
    }
    widget->setEnabled(!HasStyle(control.style, WS_DISABLED));
    widget->setVisible(HasStyle(control.style, WS_VISIBLE));
    widget->installEventFilter(this);
    controls_.push_back({&control, widget});
}

QWidget* DialogWindow::CreateStatic(const ControlTemplate& control) {
    auto* label = new QLabel(this);
    label->setFocusPolicy(Qt::NoFocus);
    const QRect area = PixelRect(control.x, control.y, control.width, control.height, baseUnits_);
    if ((control.style & SS_TYPEMASK) == SS_ICON) {
        // An icon static takes the icon's size, whatever the template says.
        const int size = platform::SystemMetric(SM_CXICON);
        if (const HICON icon = platform::LoadIcon(control.iconId); icon != nullptr) {
            label->setPixmap(QPixmap::fromImage(icon->ImageOfSize(size)));
        }
        label->setGeometry(area.x(), area.y(), size, platform::SystemMetric(SM_CYICON));
        return label;
    }
    label->setTextFormat(Qt::RichText);
    label->setText(StaticCaption(control.caption, HasStyle(control.style, SS_NOPREFIX)));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(area);
    return label;
}

QWidget* DialogWindow::CreateEdit(const ControlTemplate& control) {
    const DWORD style = control.style;
    QWidget* widget = nullptr;
    if (HasStyle(style, ES_MULTILINE) && HasStyle(style, ES_READONLY)) {
        auto* view = new TextView(this);
        view->setFrameShape(HasStyle(style, WS_BORDER) ? BorderShape() : QFrame::NoFrame);
        view->setTabStopWidth(HorizontalPixels(32, baseUnits_));
        view->model().SetHideSelection(!HasStyle(style, ES_NOHIDESEL));
        widget = view;
    } else if (HasStyle(style, ES_MULTILINE)) {
        auto* editor = new QPlainTextEdit(this);
        editor->setTabChangesFocus(!HasStyle(style, ES_WANTRETURN));
        widget = editor;
    } else {
        auto* line = new QLineEdit(this);
        line->setMaxLength(std::numeric_limits<int>::max());  // a paste is taken whole, never cut
        line->setFrame(HasStyle(style, WS_BORDER));
        line->setReadOnly(HasStyle(style, ES_READONLY));
        widget = line;
    }
    widget->setGeometry(PixelRect(control.x, control.y, control.width, control.height, baseUnits_));
    widget->setFocusPolicy(HasStyle(style, WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    return widget;
}

QWidget* DialogWindow::CreateButton(const ControlTemplate& control) {
    const DWORD kind = control.style & BS_TYPEMASK;
    const QString caption = FromWindows1252(control.caption);
    QWidget* widget = nullptr;
    if (kind == BS_GROUPBOX) {
        auto* box = new QGroupBox(caption, this);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = box;
    } else if (kind == BS_AUTORADIOBUTTON) {
        auto* radio = new AutoRadioButton(caption, this);
        radio->setAutoExclusive(false);
        radio->setFocusPolicy(Qt::ClickFocus);  // the checked one gets the Tab stop
        const std::size_t index = controls_.size();
        connect(radio, &QAbstractButton::clicked, this, [this, index] { ClickRadio(index); });
        widget = radio;
    } else {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        button->setDefault(kind == BS_DEFPUSHBUTTON);
        button->setFocusPolicy(HasStyle(control.style, WS_TABSTOP) ? Qt::StrongFocus
                                                                   : Qt::ClickFocus);
        connect(button, &QAbstractButton::clicked, this,
                [this, id = control.id] { SendCommand(id); });
        widget = button;
    }
    widget->setGeometry(PixelRect(control.x, control.y, control.width, control.height, baseUnits_));
    return widget;
}

void DialogWindow::SendCommand(int id) {
    owner_.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED), 0);
}

QWidget* DialogWindow::Control(int id) const {
    const auto found =
        std::find_if(controls_.begin(), controls_.end(),
                     [id](const ControlEntry& entry) { return entry.form->id == id; });
    return found != controls_.end() ? found->widget : nullptr;
}

std::optional<CString> DialogWindow::ControlText(int id) const {
    QWidget* widget = Control(id);
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
    return CString(std::move(*text));
}

void DialogWindow::SetControlText(int id, const CString& text) {
    QWidget* widget = Control(id);
    if (auto* view = qobject_cast<TextView*>(widget)) {
        view->setText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(FromWindows1252(text));
    } else if (auto* editor = qobject_cast<QPlainTextEdit*>(widget)) {
        editor->setPlainText(FromWindows1252(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(FromWindows1252(text));
    }
}

// The radio buttons of the group that starts at `firstId` and ends before the
// next control with WS_GROUP.
std::vector<std::size_t> DialogWindow::RadioGroup(int firstId) const {
    const auto first =
        std::find_if(controls_.begin(), controls_.end(),
                     [firstId](const ControlEntry& e) { return e.form->id == firstId; });
    if (first == controls_.end()) {
        return {};
    }
    return RadioGroupAt(static_cast<std::size_t>(first - controls_.begin()));
}

std::vector<std::size_t> DialogWindow::RadioGroupAt(std::size_t start) const {
    std::vector<std::size_t> group;
    for (std::size_t index = start; index < controls_.size(); ++index) {
        if (index != start && HasStyle(controls_[index].form->style, WS_GROUP)) {
            break;
        }
        if (qobject_cast<QRadioButton*>(controls_[index].widget) != nullptr) {
            group.push_back(index);
        }
    }
    return group;
}

// The control that starts the group `index` belongs to: back to the last WS_GROUP.
std::size_t DialogWindow::GroupStartOf(std::size_t index) const {
    while (index > 0 && !HasStyle(controls_[index].form->style, WS_GROUP)) {
        --index;
    }
    return index;
}

int DialogWindow::CheckedRadioIndex(int firstId) const {
    const std::vector<std::size_t> group = RadioGroup(firstId);
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (static_cast<QRadioButton*>(controls_[group[i]].widget)->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void DialogWindow::CheckRadio(int firstId, int index) {
    const std::vector<std::size_t> group = RadioGroup(firstId);
    const bool inGroup = index >= 0 && static_cast<std::size_t>(index) < group.size();
    CheckOnly(group, inGroup ? group[static_cast<std::size_t>(index)] : controls_.size());
}

void DialogWindow::ClickRadio(std::size_t index) {
    CheckOnly(RadioGroupAt(GroupStartOf(index)), index);
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

void DialogWindow::FocusAndSelect(int id) {
    QWidget* widget = Control(id);
    if (widget == nullptr) {
        return;
    }
    activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->selectAll();
    } else if (auto* view = qobject_cast<TextView*>(widget)) {
        view->model().SelectAll();
    }
}

void DialogWindow::FocusFirstTabStop() {
    const auto first = std::find_if(controls_.begin(), controls_.end(), [](const ControlEntry& e) {
        return (e.widget->focusPolicy() & Qt::TabFocus) != 0 && e.widget->isEnabled() &&
               !e.widget->isHidden();
    });
    if (first == controls_.end()) {
        return;
    }
    first->widget->setFocus(Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(first->widget)) {
        line->selectAll();  // as the dialog manager does for an edit it focuses
    }
}

// The default push button's command, or IDOK when the form has none.
int DialogWindow::DefaultCommandId() const {
    const auto found = std::find_if(controls_.begin(), controls_.end(), [](const ControlEntry& e) {
        return e.form->controlClass == ControlClass::Button &&
               (e.form->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    });
    return found != controls_.end() ? found->form->id : IDOK;
}

int DialogWindow::RunModal() {
    if (ended_) {
        return result_;
    }
    // Handlers may destroy the window while the loop runs: the loop and the
    // result live here, and afterwards the window is touched only if it lives.
    const QPointer<DialogWindow> alive(this);
    int result = -1;
    QEventLoop loop;
    modalLoop_ = &loop;
    modalResult_ = &result;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (alive != nullptr && !ended_) {
        loop.exec(QEventLoop::DialogExec);
    }
    if (alive != nullptr) {
        modalLoop_ = nullptr;
        modalResult_ = nullptr;
    }
    return result;
}

void DialogWindow::End(int result) {
    result_ = result;
    ended_ = true;
    hide();
    if (modalResult_ != nullptr) {
        *modalResult_ = result;
    }
    if (modalLoop_ != nullptr) {
        modalLoop_->exit(0);
    }
}

// The states the form's title bar offers: without a maximise box the form is
// never maximised, without a minimise box never minimised. Only on Wayland
// does Qt draw the title bar itself, with all three buttons whatever the
// window's flags; maximised, the fixed-size form sat in a corner of an empty
// screen, and a compositor without a task bar would lose a minimised dialog
// for good. On X11 most window managers follow the hints; openbox offers
// maximise whatever they say, so a maximise is undone there too, while
// minimising stays, as "show desktop" does it to every window.
Qt::WindowStates DialogWindow::OfferedStates() const {
    Qt::WindowStates offered =
        Qt::WindowActive | Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (wayland && !HasStyle(form_.style, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) {
        offered &= ~Qt::WindowStates(Qt::WindowMinimized);
    }
    if (!HasStyle(form_.style, WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX)) {
        offered &= ~Qt::WindowStates(Qt::WindowMaximized | Qt::WindowFullScreen);
    }
    return offered;
}

// The frame sizes the dialog from the form's size up, or down to the screen's
// work area where that is smaller; the controls follow the frame.
void DialogWindow::FollowTheFrame(QSize formSize) {
    formSize_ = formSize;
    std::vector<ControlBox> boxes;
    std::vector<bool> growing;
    for (const ControlEntry& entry : controls_) {
        const QRect area = entry.widget->geometry();
        boxes.push_back({area.x(), area.y(), area.width(), area.height()});
        growing.push_back(entry.form->controlClass == ControlClass::Edit &&
                          HasStyle(entry.form->style, ES_MULTILINE));
    }
    following_ = FollowingOf(boxes, growing);
    formBoxes_ = std::move(boxes);
    QSize smallest = formSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        smallest = smallest.boundedTo(screen->availableSize());
    }
    smallest_ = smallest;
    setMinimumSize(smallest);
    resize(smallest);
}

void DialogWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (following_.empty()) {
        return;
    }
    const int growX = width() - formSize_.width();
    const int growY = height() - formSize_.height();
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        const ControlBox box = Place(formBoxes_[index], following_[index], growX, growY);
        controls_[index].widget->setGeometry(box.x, box.y, box.width, box.height);
    }
}

void DialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !following_.empty()) {
        // Minimised, the window takes the size the platform gives an icon.
        setMinimumSize(isMinimized() ? QSize() : smallest_);
    }
    if (event->type() != QEvent::WindowStateChange ||
        (windowState() & ~OfferedStates()) == Qt::WindowNoState) {
        return;
    }
    // Undone once the platform has finished the change, as a title bar
    // without the button would have left it.
    QTimer::singleShot(0, this, [this] {
        if (QWindow* window = windowHandle()) {
            window->setWindowStates(window->windowStates() & OfferedStates());
        }
    });
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A focused push button takes Enter itself; elsewhere it is the default command.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            SendCommand(DefaultCommandId());
        }
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        SendCommand(IDCANCEL);
        return;
    }
    QDialog::keyPressEvent(event);
}

// Qt's own ways of ending a dialog become its commands, so that they pass
// through the message map like every other ending.
void DialogWindow::accept() {
    SendCommand(IDOK);
}
void DialogWindow::reject() {
    SendCommand(IDCANCEL);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (SwallowUnmatchedAlt(*key) || MoveInRadioGroup(watched, *key) ||
            OpenContextMenuByKey(watched, *key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Alt with a letter that is no mnemonic of the form: the dialog takes it, as
// the platform's dialog manager does, so that it is not typed into a field.
bool DialogWindow::SwallowUnmatchedAlt(const QKeyEvent& key) const {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if ((modifiers & Qt::AltModifier) == 0 || (modifiers & Qt::ControlModifier) != 0 ||
        key.text().isEmpty() || !key.text().front().isPrint() || key.key() == Qt::Key_Space) {
        return false;
    }
    if (HasMnemonic(key.text().front())) {
        return false;
    }
    QApplication::beep();
    return true;
}

// The Menu key and Shift+F10 open the focused control's context menu; a
// control without one passes it on to the dialog, which shows its system menu.
bool DialogWindow::OpenContextMenuByKey(QObject* watched, const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool menuKey = key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier;
    const bool shiftF10 = key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!(menuKey || shiftF10) || widget == nullptr) {
        return false;
    }
    const QPoint centre = widget->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, widget->mapToGlobal(centre));
    QApplication::sendEvent(widget, &request);
    return true;
}

// Arrow keys move through a radio group and check the button they reach.
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
    const auto here = static_cast<std::size_t>(current - controls_.begin());
    const std::vector<std::size_t> group = RadioGroupAt(GroupStartOf(here));
    const auto position = std::find(group.begin(), group.end(), here);
    if (position == group.end() || group.size() < 2) {
        return false;
    }
    const auto place = static_cast<std::size_t>(position - group.begin());
    const std::size_t next =
        forwards ? (place + 1) % group.size() : (place + group.size() - 1) % group.size();
    controls_[group[next]].widget->setFocus(Qt::OtherFocusReason);
    ClickRadio(group[next]);
    return true;
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is a system command; the dialog ends only if that says so.
    event->ignore();
    if (!ended_) {
        owner_.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    activePaintEvent_ = event;
    owner_.SendMessage(WM_PAINT, 0, 0);
    activePaintEvent_ = nullptr;
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Controls with a context menu of their own (the edit fields, the results)
    // take the event; from anywhere else it comes here and opens the system
    // menu, by mouse or by the Menu key and Shift+F10.
    if (!HasStyle(form_.style, WS_SYSMENU)) {
        event->ignore();
        return;
    }
    ShowSystemMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
}

void DialogWindow::ShowSystemMenu(QPoint globalPosition, bool fromKeyboard) {
    CMenu* systemMenu = owner_.GetSystemMenu(FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("systemMenu"));
    for (const CMenu::Item& item : systemMenu->Items()) {
        // Moving and sizing follow the mouse (the window system's own drag):
        // from the keyboard they could not be carried out, so they are left out.
        const bool byMouseOnly = (item.id & 0xFFF0) == SC_MOVE || (item.id & 0xFFF0) == SC_SIZE;
        if ((item.flags & MF_SEPARATOR) != 0) {
            if (!menu.actions().isEmpty()) {
                menu.addSeparator();  // none first: the highlight goes to an entry
            }
        } else if (!(fromKeyboard && byMouseOnly)) {
            QAction* action = menu.addAction(FromWindows1252(item.text));
            action->setData(QVariant::fromValue<qulonglong>(item.id));
        }
    }
    if (fromKeyboard && !menu.actions().isEmpty()) {
        // Once the menu shows, so that the highlight is a focus that screen readers hear.
        QMetaObject::invokeMethod(
            &menu, [&menu] { menu.setActiveAction(menu.actions().front()); }, Qt::QueuedConnection);
    }
    QAction* chosen = menu.exec(globalPosition);
    if (chosen != nullptr) {
        owner_.SendMessage(WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), 0);
    }
}

}  // namespace framework
