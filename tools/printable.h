// A user's argument echoed in a message on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Its first 40 bytes and "…" after them; control and bidirectional characters
// and bytes that are not UTF-8 written as \xNN instead of being sent raw,
// where they would act on the terminal or reorder what follows them.
std::string Printable(std::string_view argument);

}  // namespace tools
