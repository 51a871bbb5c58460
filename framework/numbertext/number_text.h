// The text form of numbers in edit fields, shared by the dialogs and the
// command-line tool. No dependency on any toolkit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wertomat {

// Reads a decimal number: blanks around it, an optional sign, digits with a
// full stop or a comma as decimal mark and an optional exponent ("1e-3").
// Empty text, other characters, "nan", "inf", hexadecimal and values beyond
// the range of a double (or so small that they would become zero) are not
// numbers and give nullopt.
std::optional<double> ParseNumber(std::string_view text);

// The shortest text that reads back to the same double, in the general style:
// "0", "0.1", "2", "1e+21". Infinities and NaN come out as "inf" and "nan".
std::string FormatNumber(double value);

}  // namespace wertomat
