// What a screen reader sees of the framework's own controls.
#pragma once

class QString;
class QWidget;

namespace framework {

// Installs, once, the accessible interfaces of the results view (a read-only,
// multi-line text that can be read line by line) and of automatic radio
// buttons (announced as radio buttons, not check boxes).
void InstallAccessibility();

// Screen readers say `text` once, as a notification that appears in `window`,
// without moving the focus. The notification is an invisible child.
void Announce(QWidget& window, const QString& text);

}  // namespace framework
