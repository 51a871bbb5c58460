// Message maps: one static table per class, each pointing at its base class's
// table. Entries are made with the typed factories below, which check the
// handler's signature at compile time.
#pragma once

#include <span>

#include "framework/windef/windef.h"

class CCmdTarget;

namespace framework {

using MessageHandler = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT notificationCode;  // WM_COMMAND only
    UINT controlId;         // WM_COMMAND only
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageMapEntry> entries;
};

template <typename Member>
struct MemberClass;
template <typename Class, typename Result, typename... Arguments>
struct MemberClass<Result (Class::*)(Arguments...)> {
    using Type = Class;
};
template <auto Handler>
using HandlerClass = typename MemberClass<decltype(Handler)>::Type;

// WM_SYSCOMMAND: void OnSysCommand(UINT nID, LPARAM lParam)
template <auto Handler>
constexpr MessageMapEntry SysCommandEntry() {
    return {WM_SYSCOMMAND, 0, 0, [](CCmdTarget& target, WPARAM wParam, LPARAM lParam) -> LRESULT {
                (static_cast<HandlerClass<Handler>&>(target).*Handler)(static_cast<UINT>(wParam),
                                                                       lParam);
                return 0;
            }};
}

// Messages whose handler takes nothing and returns nothing: WM_PAINT, WM_CLOSE.
template <UINT Message, auto Handler>
constexpr MessageMapEntry PlainEntry() {
    return {Message, 0, 0, [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {
                (static_cast<HandlerClass<Handler>&>(target).*Handler)();
                return 0;
            }};
}
template <auto Handler>
constexpr MessageMapEntry PaintEntry() {
    return PlainEntry<WM_PAINT, Handler>();
}

// WM_QUERYDRAGICON: HCURSOR OnQueryDragIcon()
template <auto Handler>
constexpr MessageMapEntry QueryDragIconEntry() {
    return {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {
                const HCURSOR cursor = (static_cast<HandlerClass<Handler>&>(target).*Handler)();
                return reinterpret_cast<LRESULT>(cursor);
            }};
}

// WM_COMMAND from control or command `Id` with notification `Code`: void OnSomething()
template <UINT Code, int Id, auto Handler>
constexpr MessageMapEntry NotificationEntry() {
    return {WM_COMMAND, Code, static_cast<UINT>(Id),
            [](CCmdTarget& target, WPARAM, LPARAM) -> LRESULT {
                (static_cast<HandlerClass<Handler>&>(target).*Handler)();
                return 0;
            }};
}
template <int Id, auto Handler>
constexpr MessageMapEntry CommandEntry() {
    return NotificationEntry<0, Id, Handler>();
}
template <int Id, auto Handler>
constexpr MessageMapEntry ButtonClickedEntry() {
    return NotificationEntry<BN_CLICKED, Id, Handler>();
}

// The first entry for the message along the class's chain of maps, or null.
const MessageMapEntry* FindMessageMapEntry(const MessageMap* map, UINT message, WPARAM wParam);

}  // namespace framework
