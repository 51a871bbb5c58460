// Exact fixed-point text for the result table's columns.
#pragma once

#include <cstddef>

namespace wertomat {

// Room one column may need: sign, 309 integer digits of the largest double, the
// full stop and four decimals.
inline constexpr std::size_t kMaximumColumnLength = 320;

// Writes `value` byte for byte as printf's "%10.4f" does in the C locale:
// correctly rounded to four decimals (exact ties to even), a minus sign also
// for values that round to zero, right-aligned to ten characters and never cut.
// `out` must have room for kMaximumColumnLength characters. Returns one past
// the last character written; nothing is terminated.
char* WriteColumn(double value, char* out);

}  // namespace wertomat
