// The program's resources: dialog templates, the string table and icons, read
// from the compiled resource file that the program carries.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/resource_file/resource_file.h"
#include "framework/windef/windef.h"

namespace framework {

struct ResourceModule {
    std::string_view moduleFileName;             // the application's name comes from it
    std::span<const std::uint8_t> resourceFile;  // the compiled resource file
};

// Defined by the program (its resources library), as an executable carries
// its resources.
const ResourceModule& ProgramResources();

// Each is read once and kept for the life of the process. A resource that is
// missing or malformed gives the reason instead.
Parsed<const DialogTemplate*> LoadDialogTemplate(int id);
Parsed<std::string> LoadProgramString(UINT id);
Parsed<const std::vector<std::uint8_t>*> LoadIconFile(int id);  // as an .ico file

// The application's name: the module's file name without its extension.
std::string_view ApplicationName();

// Whether a dialog of this process could not be made from its template (the
// reason has gone to stderr): the process then ends with a failure status.
bool DialogFailedToLoad();
void NoteDialogFailedToLoad();

}  // namespace framework
