// What a screen reader sees of the framework's own controls.
#pragma once

namespace framework {

// Installs, once, the accessible interfaces of the results view (a read-only,
// multi-line text that can be read line by line) and of automatic radio
// buttons (announced as radio buttons, not check boxes).
void InstallAccessibility();

}  // namespace framework
