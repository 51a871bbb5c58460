#include "framework/resources.h"

#include <map>

#include "framework/platform.h"

namespace framework {
namespace {

const Parsed<std::vector<ResourceEntry>>& ProgramEntries() {
    static const Parsed<std::vector<ResourceEntry>> entries =
        ReadResourceFile(ProgramResources().resourceFile);
    return entries;
}

// The data of resource `name` of `type`, or the reason why there is none.
Parsed<std::span<const std::uint8_t>> FindData(ResourceType type, int name) {
    using Result = Parsed<std::span<const std::uint8_t>>;
    if (name <= 0 || name > 0xFFFF) {
        return Result::Refused("no such resource");
    }
    const auto& entries = ProgramEntries();
    if (!entries.value) {
        return Result::Refused(entries.error);
    }
    const ResourceEntry* entry =
        FindResourceEntry(*entries.value, type, static_cast<std::uint16_t>(name));
    if (entry == nullptr) {
        return Result::Refused("no such resource");
    }
    return {entry->data, {}};
}

// Reads resource `id` once with `read` and keeps the outcome.
template <typename Value, typename Reader>
Parsed<const Value*> LoadOnce(std::map<int, Parsed<Value>>& cache, int id, Reader read) {
    auto found = cache.find(id);
    if (found == cache.end()) {
        found = cache.emplace(id, read()).first;
    }
    const Parsed<Value>& loaded = found->second;
    if (!loaded.value) {
        return Parsed<const Value*>::Refused(loaded.error);
    }
    return {&*loaded.value, {}};
}

}  // namespace

Parsed<const DialogTemplate*> LoadDialogTemplate(int id) {
    static std::map<int, Parsed<DialogTemplate>> cache;
    return LoadOnce(cache, id, [id]() -> Parsed<DialogTemplate> {
        const auto data = FindData(ResourceType::Dialog, id);
        return data.value ? ReadDialogTemplate(*data.value)
                          : Parsed<DialogTemplate>::Refused(data.error);
    });
}

Parsed<std::string> LoadProgramString(UINT id) {
    const auto block = FindData(ResourceType::StringTable, static_cast<int>(id / 16 + 1));
    return block.value ? ReadStringTableEntry(*block.value, id)
                       : Parsed<std::string>::Refused(block.error);
}

Parsed<const std::vector<std::uint8_t>*> LoadIconFile(int id) {
    static std::map<int, Parsed<std::vector<std::uint8_t>>> cache;
    return LoadOnce(cache, id, [id]() -> Parsed<std::vector<std::uint8_t>> {
        using Result = Parsed<std::vector<std::uint8_t>>;
        const auto group = FindData(ResourceType::GroupIcon, id);
        if (!group.value) {
            return Result::Refused(group.error);
        }
        const auto entries = ReadIconGroup(*group.value);
        if (!entries.value) {
            return Result::Refused(entries.error);
        }
        std::vector<std::span<const std::uint8_t>> images;
        for (const IconGroupEntry& entry : *entries.value) {
            const auto image = FindData(ResourceType::Icon, entry.imageId);
            images.push_back(image.value.value_or(std::span<const std::uint8_t>{}));
        }
        return AssembleIconFile(*entries.value, images);
    });
}

std::string_view ApplicationName() {
    std::string_view name = ProgramResources().moduleFileName;
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

namespace {
bool dialogFailedToLoad = false;
}  // namespace

bool DialogFailedToLoad() {
    return dialogFailedToLoad;
}

void NoteDialogFailedToLoad() {
    dialogFailedToLoad = true;
}

// --- What a backend calls

const std::vector<std::uint8_t>* IconFile(int id) {
    const auto file = LoadIconFile(id);
    return file.value.value_or(nullptr);
}

}  // namespace framework
