// What a screen reader reads of the texts: the results view and the input
// fields answer every text question themselves, words by the keyboard's rule.
#pragma once

class QAccessibleInterface;
class QLineEdit;

namespace framework {

class TextView;

QAccessibleInterface* CreateTextViewAccessible(TextView* view);
QAccessibleInterface* CreateLineEditAccessible(QLineEdit* edit);

}  // namespace framework
