#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numeric>
#include <system_error>

namespace text {
namespace {

// What may stand around a number: a pasted number often ends with a line break.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Checks the grammar  [sign] digits [mark digits] [e [sign] digits]  (with at
// least one digit before the exponent) and writes the text with a full stop as
// decimal mark and without a plus sign into `normalized`, which from_chars takes.
bool Normalize(std::string_view text, std::string& normalized) {
    std::size_t position = 0;
    auto consumeDigits = [&] {
        const std::size_t first = position;
        while (position < text.size() && IsDigit(text[position])) {
            normalized.push_back(text[position++]);
        }
        return position - first;
    };
    auto consumeSign = [&] {
        if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
            if (text[position] == '-') {
                normalized.push_back('-');
            }
            ++position;
        }
    };

    consumeSign();
    std::size_t mantissaDigits = consumeDigits();
    if (position < text.size() && (text[position] == '.' || text[position] == ',')) {
        normalized.push_back('.');
        ++position;
        mantissaDigits += consumeDigits();
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        normalized.push_back('e');
        ++position;
        consumeSign();
        if (consumeDigits() == 0) {
            return false;
        }
    }
    return position == text.size();
}

bool HasNonZeroDigit(std::string_view normalized) {
    for (const char c : normalized) {
        if (c == 'e') {
            return false;
        }
        if (c >= '1' && c <= '9') {
            return true;
        }
    }
    return false;
}

constexpr long long kFarEnough = 1'000'000'000;  // beyond any double's exponent, either way

// The decimal exponent of the digits before any "e": how many places the first
// significant digit stands left of the point (negative: right of it).
long long DigitsExponent(std::string_view digits) {
    long long exponent = 0;
    bool significant = false;
    bool afterPoint = false;
    for (const char c : digits) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        significant = significant || (c >= '1' && c <= '9');
        if (c >= '0' && c <= '9' && !afterPoint && significant) {
            ++exponent;  // a digit of the whole part
        } else if (c == '0' && afterPoint && !significant) {
            --exponent;  // a zero between the point and the first digit
        }
        exponent = std::clamp(exponent, -kFarEnough, kFarEnough);
    }
    return exponent;
}

// The exponent written after "e", held within kFarEnough.
long long WrittenExponent(std::string_view exponentText) {
    const long long written =
        std::accumulate(exponentText.begin(), exponentText.end(), 0LL, [](long long sum, char c) {
            return c >= '0' && c <= '9' ? std::min(sum * 10 + (c - '0'), kFarEnough) : sum;
        });
    return !exponentText.empty() && exponentText.front() == '-' ? -written : written;
}

// A number that a double cannot hold: too large, or too near zero. Told by its
// decimal exponent, so that it needs no wider floating-point type (long double
// is no wider than double on Windows).
NumberRefusal OutOfRange(std::string_view normalized) {
    const std::size_t e = normalized.find('e');
    long long exponent = DigitsExponent(normalized.substr(0, e));
    if (e != std::string_view::npos) {
        exponent += WrittenExponent(normalized.substr(e + 1));
    }
    return exponent > 0 ? NumberRefusal::TooLarge : NumberRefusal::TooSmall;
}

}  // namespace

std::variant<double, NumberRefusal> ReadNumber(std::string_view text) {
    text = TrimBlanks(text);
    std::string normalized;
    normalized.reserve(text.size());
    if (!Normalize(text, normalized)) {
        return NumberRefusal::NotANumber;
    }
    double value = 0.0;
    const char* const last = normalized.data() + normalized.size();
    const auto [end, error] =
        std::from_chars(normalized.data(), last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range ||
        (error == std::errc{} && !std::isfinite(value))) {
        return OutOfRange(normalized);
    }
    if (error != std::errc{} || end != last) {
        return NumberRefusal::NotANumber;
    }
    if (value == 0.0 && HasNonZeroDigit(normalized)) {
        return NumberRefusal::TooSmall;  // underflowed to zero
    }
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::variant<double, NumberRefusal> reading = ReadNumber(text);
    if (const double* value = std::get_if<double>(&reading)) {
        return *value;
    }
    return std::nullopt;
}

std::string FormatNumber(double value) {
    std::array<char, 32> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    return {text.data(), result.ptr};
}

}  // namespace text
