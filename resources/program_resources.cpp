// The program's resources, as an executable carries them: the resource
// script compiled and embedded at build time.
#include "framework/resources.h"
#include "resources/compiled_resources.h"

namespace framework {

const ResourceModule& ProgramResources() {
    static const ResourceModule module{"Wertomat.exe", wertomat::resources::kCompiledResources};
    return module;
}

}  // namespace framework
