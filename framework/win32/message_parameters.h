// What a message parameter or a window's stored value carries: the platform
// passes pointers and handles as integers.
#pragma once

namespace framework::win32 {

template <typename Pointer, typename Integer>
Pointer PointerFrom(Integer value) {
    return reinterpret_cast<Pointer>(value);  // NOLINT(performance-no-int-to-ptr)
}

}  // namespace framework::win32
