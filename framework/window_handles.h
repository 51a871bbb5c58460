// The window-system objects that the API's classes own, seen from the API:
// declared only, each released by its backend's deleter. The backend
// (platform.h) defines them.
#pragma once

#include <memory>

#include "framework/windef/handle_objects.h"

namespace framework {

class DialogWindow;  // a dialog on screen, made from its template

namespace platform {

struct DialogWindowDeleter {
    void operator()(DialogWindow* window) const;
};
using DialogWindowPointer = std::unique_ptr<DialogWindow, DialogWindowDeleter>;

struct PaintContextDeleter {
    void operator()(PaintContext* context) const;
};
using PaintContextPointer = std::unique_ptr<PaintContext, PaintContextDeleter>;

}  // namespace platform
}  // namespace framework
