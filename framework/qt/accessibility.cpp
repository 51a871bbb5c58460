#include "framework/qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <algorithm>

#include "framework/qt/menu_accessibility.h"
#include "framework/qt/text_accessibility.h"
#include "framework/qt/text_view.h"

namespace framework {
namespace {

// A radio button. The dialogs keep radio groups by their own rules, not by
// Qt's auto-exclusivity, and Qt's own interface then calls it a check box.
class RadioButtonAccessible : public QAccessibleWidget {
public:
    explicit RadioButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return QString(Button()->text()).remove(u'&');
        }
        return QAccessibleWidget::text(kind);
    }
    // The group box around the button labels it, as Qt does for a group box
    // that is the button's parent: in a dialog's form it is a sibling.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Label) == 0 || widget()->parentWidget() == nullptr) {
            return found;
        }
        const QRect area = widget()->geometry();
        const QList<QGroupBox*> boxes =
            widget()->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
        const auto around = std::find_if(boxes.begin(), boxes.end(), [&area](QGroupBox* box) {
            return box->geometry().contains(area);
        });
        if (around != boxes.end()) {
            found.append({QAccessible::queryAccessibleInterface(*around), QAccessible::Label});
        }
        return found;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction() || action == toggleAction()) {
            Button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// Never shown: screen readers hear it appear and say its name.
class AnnouncementWidget : public QWidget {
public:
    using QWidget::QWidget;
};

QAccessibleInterface* CreateInterface(const QString&, QObject* object) {
    if (auto* announcement = dynamic_cast<AnnouncementWidget*>(object)) {
        return new QAccessibleWidget(announcement, QAccessible::Notification);
    }
    if (auto* view = qobject_cast<TextView*>(object)) {
        return CreateTextViewAccessible(view);
    }
    if (auto* menu = qobject_cast<QMenu*>(object);
        menu != nullptr && menu->objectName() == QLatin1String("systemMenu")) {
        return CreateSystemMenuAccessible(menu);
    }
    // Message boxes keep Qt's interface, which reads out their text.
    if (auto* dialog = qobject_cast<QDialog*>(object);
        dialog != nullptr && qobject_cast<QMessageBox*>(object) == nullptr) {
        return CreateDialogAccessible(dialog);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        return CreateLineEditAccessible(edit);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(object)) {
        return new RadioButtonAccessible(radio);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&CreateInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void Announce(QWidget& window, const QString& text) {
    const QObjectList& children = window.children();
    const auto found = std::find_if(children.begin(), children.end(), [](QObject* child) {
        return dynamic_cast<AnnouncementWidget*>(child) != nullptr;
    });
    auto* announcement =
        found != children.end() ? static_cast<AnnouncementWidget*>(*found) : nullptr;
    if (announcement == nullptr) {
        announcement = new AnnouncementWidget(&window);
        announcement->hide();
    }
    announcement->setAccessibleName(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent shown(announcement, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

}  // namespace framework
