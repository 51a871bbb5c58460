// The X11 primary selection: what is selected, pasted by a middle click.
#pragma once

#include <cstddef>

#include "framework/cstring.h"

namespace framework {

// Offers bytes [first, last) of `text` where the platform has a primary
// selection. The text is made only when somebody pastes it, so selecting a
// large table costs nothing.
void OfferPrimarySelection(const CString& text, std::size_t first, std::size_t last);

}  // namespace framework
