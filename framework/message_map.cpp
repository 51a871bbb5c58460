#include "framework/message_map.h"

#include "framework/cmdtarget.h"

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

const framework::MessageMap CCmdTarget::messageMap{nullptr, {}};

bool CCmdTarget::DispatchToMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const framework::MessageMapEntry* entry =
        framework::FindMessageMapEntry(GetMessageMap(), message, wParam);
    if (entry == nullptr) {
        return false;
    }
    result = entry->handler(*this, wParam, lParam);
    return true;
}
