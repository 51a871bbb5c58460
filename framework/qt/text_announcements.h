// What changed in the results view, told to screen readers over the
// toolkit's accessibility events: a new text (its first characters only),
// the caret and the selection.
#pragma once

#include "framework/results_view/text_view_model.h"

class QWidget;

namespace framework {

// Before `view` replaces its text: the old one goes.
void AnnounceTextRemoval(QWidget& view, const TextViewModel& model);
void AnnounceChanges(QWidget& view, const TextViewModel& model, const TextViewChanges& changes);

}  // namespace framework
