// What a screen reader hears of a dialog's system menu: a menu that its
// dialog lists as a child while it is open, announced by name, its entries
// with their keys as accelerators.
#pragma once

class QAccessibleInterface;
class QDialog;
class QMenu;

namespace framework {

QAccessibleInterface* CreateDialogAccessible(QDialog* dialog);
QAccessibleInterface* CreateSystemMenuAccessible(QMenu* menu);

}  // namespace framework
