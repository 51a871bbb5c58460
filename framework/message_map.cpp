#include "framework/message_map.h"

namespace framework {

const MessageMapEntry* FindMessageMapEntry(const MessageMap* map, UINT message, WPARAM wParam) {
    for (; map != nullptr; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message != message) {
                continue;
            }
            if (message == WM_COMMAND &&
                (entry.controlId != LOWORD(wParam) || entry.notificationCode != HIWORD(wParam))) {
                continue;
            }
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace framework
