// Any bytes as a compiled resource file: the reader and the format readers
// behind it must refuse what they cannot read, never crash or read past the
// end, and give a reason with every refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "framework/resource_file/resource_file.h"

namespace {

template <typename Value>
void CheckReason(const framework::Parsed<Value>& parsed) {
    if (!parsed.value && parsed.error.empty()) {
        std::abort();
    }
}

void ReadEntry(const framework::ResourceEntry& entry,
               std::span<const framework::ResourceEntry> entries) {
    const auto* type = std::get_if<std::uint16_t>(&entry.type);
    if (type == nullptr) {
        return;
    }
    switch (static_cast<framework::ResourceType>(*type)) {
        case framework::ResourceType::Dialog:
            CheckReason(framework::ReadDialogTemplate(entry.data));
            break;
        case framework::ResourceType::StringTable:
            for (unsigned id = 0; id < 16; ++id) {
                CheckReason(framework::ReadStringTableEntry(entry.data, id));
            }
            break;
        case framework::ResourceType::GroupIcon: {
            const auto group = framework::ReadIconGroup(entry.data);
            CheckReason(group);
            if (!group.value) {
                break;
            }
            std::vector<std::span<const std::uint8_t>> images;
            for (const framework::IconGroupEntry& image : *group.value) {
                const framework::ResourceEntry* found = framework::FindResourceEntry(
                    entries, framework::ResourceType::Icon, image.imageId);
                images.push_back(found != nullptr ? found->data : std::span<const std::uint8_t>{});
            }
            CheckReason(framework::AssembleIconFile(*group.value, images));
            break;
        }
        default:
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto entries = framework::ReadResourceFile(std::span(data, size));
    CheckReason(entries);
    if (entries.value) {
        for (const framework::ResourceEntry& entry : *entries.value) {
            ReadEntry(entry, *entries.value);
        }
    }
    return 0;
}
