#include "framework/qt/dialog_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <algorithm>
#include <cmath>
#include <limits>

#include "framework/platform.h"
#include "framework/qt/accessibility.h"
#include "framework/qt/icon_data.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"

namespace framework {
namespace {

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
DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& form, QWidget* parent)
    : QDialog(parent), dialog_(dialog), form_(form) {
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

std::intptr_t DialogWindow::Message(std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
    return DialogMessage(dialog_, message, wParam, lParam);
}

DialogWindow::~DialogWindow() {
    if (!deletedByDialog_) {
        Message(WM_NCDESTROY);  // deleted with its parent: the dialog lets it go
    }
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
        view->setHideSelection(!HasStyle(style, ES_NOHIDESEL));
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

}  // namespace framework
