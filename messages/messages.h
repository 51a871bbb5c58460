// What the user is told when a table is refused: one German message per
// reason, the same in the dialog and in wertomat-table. Windows-1252 bytes
// ("\xFC" is ü, "\xE4" is ä).
#pragma once

#include <string_view>

#include "core/tabulation.h"

namespace messages {

std::string_view ForRefusal(wertomat::TabulationRefusal refusal);

}  // namespace messages
