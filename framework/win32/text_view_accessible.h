// The results view as screen readers and magnifiers on Windows see it
// (MSAA): an editable text, read-only, named by its label, whose value is the
// text; and the WinEvents that tell them what changed.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/results_view/text_view_model.h"

namespace framework::win32 {

// The model behind a view window, null once the window is gone. The view
// hands it over, so that this side needs no knowledge of the view itself.
using ModelLookup = const TextViewModel* (*)(HWND view);

// The answer to WM_GETOBJECT: the view's accessible object for OBJID_CLIENT,
// the platform's answer for anything else.
LRESULT AnswerGetObject(HWND view, ModelLookup modelOf, WPARAM flags, LPARAM objectId);
// The value, the selection and the caret's place, as the model reports them.
void AnnounceChanges(HWND view, const TextViewChanges& changes);
// Screen readers say `text` once, politely, wherever the focus is in `dialog`.
void Announce(HWND dialog, std::string_view text);

}  // namespace framework::win32
