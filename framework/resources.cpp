#include "framework/resources.h"

#include <algorithm>

namespace framework {
namespace {

template <typename Resource, typename Id>
const Resource* FindById(std::span<const Resource> resources, Id id) {
    const auto found = std::find_if(resources.begin(), resources.end(),
                                    [id](const Resource& resource) { return resource.id == id; });
    return found != resources.end() ? &*found : nullptr;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    return FindById(ProgramResources().dialogs, id);
}

const std::string_view* FindString(UINT id) {
    const StringResource* resource = FindById(ProgramResources().strings, id);
    return resource != nullptr ? &resource->text : nullptr;
}

const IconResource* FindIcon(int id) {
    return FindById(ProgramResources().icons, id);
}

std::string_view ApplicationName() {
    std::string_view name = ProgramResources().moduleFileName;
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

}  // namespace framework
