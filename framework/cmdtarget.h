// The roots of the class tree: CObject and the message-routing CCmdTarget.
#pragma once

#include "framework/message_map.h"
#include "framework/windef/windef.h"

class CObject {
public:
    virtual ~CObject() = default;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

class CCmdTarget : public CObject {
public:
    virtual const framework::MessageMap* GetMessageMap() const { return &messageMap; }

    // Routes a message through the class's message maps; false when no entry takes it.
    bool DispatchToMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    static const framework::MessageMap messageMap;
};
