// The text form of numbers in edit fields, shared by the dialogs and the
// command-line tool. No dependency on any toolkit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace text {

// Reads a decimal number: blanks and line breaks around it, an optional sign,
// digits with a full stop or a comma as decimal mark and an optional exponent
// ("1e-3"). Empty text, other characters (a line break inside too), "nan",
// "inf" and hexadecimal are not numbers; a number beyond the range of a
// double, or so small that it would become zero, is refused as such.
enum class NumberRefusal { NotANumber, TooLarge, TooSmall };
std::variant<double, NumberRefusal> ReadNumber(std::string_view text);
// The number, or nullopt for every refusal.
std::optional<double> ParseNumber(std::string_view text);

// What the dialogs say of a refused number (Windows-1252); out of range is
// not "not a number": the user is told which end to mend.
inline constexpr std::string_view kNotANumberMessage = "Bitte eine Zahl eingeben";
inline constexpr std::string_view kNumberTooLargeMessage =
    "Die Zahl ist zu gro\xDF: bitte eine Zahl zwischen -1,7e308 und 1,7e308 eingeben";
inline constexpr std::string_view kNumberTooSmallMessage =
    "Die Zahl ist zu nah an null: bitte 0 oder eine Zahl mit einem Betrag ab 4,9e-324 eingeben";
constexpr std::string_view RefusalMessage(NumberRefusal refusal) {
    switch (refusal) {
        case NumberRefusal::TooLarge:
            return kNumberTooLargeMessage;
        case NumberRefusal::TooSmall:
            return kNumberTooSmallMessage;
        case NumberRefusal::NotANumber:
            break;
    }
    return kNotANumberMessage;
}

// The shortest text that reads back to the same double, in the general style:
// "0", "0.1", "2", "1e+21". Infinities and NaN come out as "inf" and "nan".
std::string FormatNumber(double value);

}  // namespace text
