#include "framework/qt/menu_accessibility.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <algorithm>

namespace framework {
namespace {

// A dialog, with the popup menu it shows (its system menu) as its last
// child while the menu is open: Qt counts no popup among a window's children,
// and a screen reader skips an ancestor that is nobody's child, so the menu
// was never announced.
class DialogAccessible : public QAccessibleWidget {
public:
    explicit DialogAccessible(QDialog* dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {}

    int childCount() const override {
        return QAccessibleWidget::childCount() + (OpenMenu() != nullptr ? 1 : 0);
    }
    QAccessibleInterface* child(int index) const override {
        QMenu* menu = OpenMenu();
        return menu != nullptr && index == QAccessibleWidget::childCount()
                   ? QAccessible::queryAccessibleInterface(menu)
                   : QAccessibleWidget::child(index);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        QMenu* menu = OpenMenu();
        return menu != nullptr && child != nullptr && child->object() == menu
                   ? QAccessibleWidget::childCount()
                   : QAccessibleWidget::indexOfChild(child);
    }

private:
    QMenu* OpenMenu() const {
        const QList<QMenu*> menus = widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
        const auto open =
            std::find_if(menus.begin(), menus.end(), [](QMenu* menu) { return menu->isVisible(); });
        return open != menus.end() ? *open : nullptr;
    }
};

// An entry of the system menu. Its key ("Alt+F4") is given as the entry's
// accelerator, the third of the key binding's three parts, which is where
// screen readers look for it.
class MenuEntryAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuEntryAccessible(QMenu* menu, QAction* action) : menu_(menu), action_(action) {}

    bool isValid() const override { return !menu_.isNull() && !action_.isNull(); }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return menu_->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(menu_);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override {
        return action_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return QString(action_->text()).remove(u'&');
        }
        return kind == QAccessible::Accelerator ? action_->shortcut().toString() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect area = menu_->actionGeometry(action_);
        return {menu_->mapToGlobal(area.topLeft()), area.size()};
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        const bool entry = !action_->isSeparator();
        state.focusable = state.selectable = entry;
        state.focused = state.selected = entry && menu_->activeAction() == action_;
        state.disabled = !action_->isEnabled();
        state.invisible = !menu_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    // --- QAccessibleActionInterface
    QStringList actionNames() const override {
        return action_->isSeparator() ? QStringList{} : QStringList{pressAction()};
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            action_->trigger();
        }
    }
    QStringList keyBindingsForAction(const QString&) const override {
        const QString key = action_->shortcut().toString();
        return key.isEmpty() ? QStringList{} : QStringList{QString(), QString(), key};
    }

private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

// The system menu: a popup menu that is its dialog's child, named, with the
// entries above. Qt makes a popup the application's child, which does not
// list it, and a screen reader skips an ancestor that is nobody's child: the
// menu was never announced.
class SystemMenuAccessible : public QAccessibleWidget {
public:
    explicit SystemMenuAccessible(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(widget()->parentWidget());
    }
    // The menu has the focus until an entry is highlighted.
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = true;
        state.focused = Menu()->isVisible() && Menu()->activeAction() == nullptr;
        return state;
    }
    int childCount() const override { return static_cast<int>(Menu()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        QAction* action = Menu()->actions().value(index);
        if (action == nullptr) {
            return nullptr;
        }
        if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(action)) {
            return known;
        }
        auto* entry = new MenuEntryAccessible(Menu(), action);
        QAccessible::registerAccessibleInterface(entry);
        return entry;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr ? -1
                                : static_cast<int>(Menu()->actions().indexOf(
                                      qobject_cast<QAction*>(child->object())));
    }
    QAccessibleInterface* focusChild() const override {
        return child(static_cast<int>(Menu()->actions().indexOf(Menu()->activeAction())));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* action = Menu()->actionAt(Menu()->mapFromGlobal(QPoint(x, y)));
        return child(static_cast<int>(Menu()->actions().indexOf(action)));
    }

private:
    QMenu* Menu() const { return static_cast<QMenu*>(widget()); }
};

}  // namespace

QAccessibleInterface* CreateDialogAccessible(QDialog* dialog) {
    return new DialogAccessible(dialog);
}

QAccessibleInterface* CreateSystemMenuAccessible(QMenu* menu) {
    return new SystemMenuAccessible(menu);
}

}  // namespace framework
