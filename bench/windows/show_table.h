// Times, on the platform's side, a click on a dialog's button until a
// control has painted what the click gave it.
#pragma once

#include <string>

namespace bench {

// Sends the click to button `buttonId` of `dialog` (its handler runs before
// the call returns), then has control `viewId` paint. Seconds taken.
double SecondsToClickAndPaint(void* dialog, int buttonId, int viewId);
// The same text in the platform's own read-only multi-line edit control, in
// the place of control `viewId`: seconds to set the text and paint it.
double SecondsToShowInPlatformEdit(void* dialog, int viewId, const std::string& text);
// The length of a control's text (WM_GETTEXTLENGTH).
long long TextLength(void* dialog, int id);
// The process's resident memory (working set), now and at its peak, in MiB.
double ResidentMegabytes();
double PeakResidentMegabytes();

}  // namespace bench
