// The clipboard and the X11 primary selection (what is selected, pasted by a
// middle click): a selection's text and, where it covers cells, the table
// flavours that spreadsheets read as numbers.
#pragma once

#include <cstddef>

#include "framework/platform.h"

namespace framework {

// Puts bytes [first, last) of `text` on the clipboard. Both flavours are made
// only when a program asks for them, so copying a large table costs nothing.
void CopySelection(const platform::SharedText& text, std::size_t first, std::size_t last);
// The same as the primary selection, where the platform has one.
void OfferPrimarySelection(const platform::SharedText& text, std::size_t first, std::size_t last);

}  // namespace framework
