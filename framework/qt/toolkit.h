// Start-up pieces of the Qt backend that tests and tools share.
#pragma once

namespace framework {

// The German texts of the toolkit's own widgets (context menus, standard
// buttons), whatever the user's locale. Returns whether they were found.
bool InstallGermanTranslations();

}  // namespace framework
