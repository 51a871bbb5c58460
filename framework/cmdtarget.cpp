#include "framework/cmdtarget.h"

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
