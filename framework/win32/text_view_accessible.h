// The results view as screen readers and magnifiers on Windows see it
// (MSAA): an editable text, read-only, named by its label, whose value is the
// text; and the WinEvents that tell them what changed.
#pragma once

#include <windows.h>

#include "framework/text_view_model.h"

namespace framework::win32 {

// The answer to WM_GETOBJECT: the view's accessible object for OBJID_CLIENT,
// the platform's answer for anything else.
LRESULT AnswerGetObject(HWND view, WPARAM flags, LPARAM objectId);
// The value, the selection and the caret's place, as the model reports them.
void AnnounceChanges(HWND view, const TextViewChanges& changes);

}  // namespace framework::win32
