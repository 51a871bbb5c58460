// The window-system objects behind the handles, declared once: windef.h's
// HICON and HDC point at them, the API owns them (window_handles.h), and a
// backend defines them. Nothing else, so that a backend that includes the
// platform's own window names can include this too.
#pragma once

namespace framework {

struct IconData;     // what an HICON points at
class PaintContext;  // what an HDC points at

}  // namespace framework
