#include "fixed_format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace wertomat {
namespace {

constexpr int kColumnWidth = 10;
constexpr std::uint64_t kDecimalScale = 10'000;  // four decimals

// Above this the scaled value no longer fits the 64-bit fast path.
constexpr double kFastPathLimit = 9.0e14;

constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// The two digits of `value`, 0 to 99.
const char* DigitPair(std::size_t value) {
    return &kDigitPairs[2 * value];
}

char* PadAndCopy(std::string_view text, char* out) {
    const auto padding =
        static_cast<std::ptrdiff_t>(kColumnWidth) - static_cast<std::ptrdiff_t>(text.size());
    if (padding > 0) {
        std::memset(out, ' ', static_cast<std::size_t>(padding));
        out += padding;
    }
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// |value| * 10^4 rounded to nearest, ties to even, for finite |value| below
// kFastPathLimit. Works on the exact binary value: value = significand * 2^exponent,
// and 10^4 = 625 * 2^4, where significand * 625 < 2^63 fits 64 bits.
std::uint64_t ScaledMagnitude(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = 0;
    if (biasedExponent == 0) {
        exponent = -1074;  // zero or subnormal
    } else {
        significand |= std::uint64_t{1} << 52;
        exponent = biasedExponent - 1075;
    }
    const std::uint64_t product = significand * (kDecimalScale >> 4);
    const int scale = exponent + 4;
    if (scale >= 0) {
        return product << scale;  // a whole number; below the limit it fits
    }
    const auto shift = static_cast<unsigned>(-scale);
    if (shift >= 64) {
        return 0;  // product < 2^63: below one half
    }
    std::uint64_t quotient = product >> shift;
    const std::uint64_t remainder = product & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (remainder > half || (remainder == half && (quotient & 1) != 0)) {
        ++quotient;
    }
    return quotient;
}

int DecimalDigitCount(std::uint64_t value) {
    int count = 1;
    while (value >= 10) {
        value /= 10;
        ++count;
    }
    return count;
}

// Values that round below 10000 fill exactly the ten-character field: the
// common case, written with fixed stores only.
char* WriteTenCharacters(std::uint64_t scaled, bool negative, char* out) {
    const auto integer = static_cast<unsigned>(scaled / kDecimalScale);
    const auto fraction = static_cast<unsigned>(scaled % kDecimalScale);
    std::memset(out, ' ', kColumnWidth);
    std::memcpy(out + 8, DigitPair(fraction % 100), 2);
    std::memcpy(out + 6, DigitPair(fraction / 100), 2);
    out[5] = '.';
    int first = 4;  // where the integer's leading digit goes
    if (integer < 10) {
        out[4] = static_cast<char>('0' + integer);
    } else if (integer < 100) {
        std::memcpy(out + 3, DigitPair(integer), 2);
        first = 3;
    } else {
        std::memcpy(out + 3, DigitPair(integer % 100), 2);
        if (integer < 1000) {
            out[2] = static_cast<char>('0' + integer / 100);
            first = 2;
        } else {
            std::memcpy(out + 1, DigitPair(integer / 100), 2);
            first = 1;
        }
    }
    if (negative) {
        out[first - 1] = '-';
    }
    return out + kColumnWidth;
}

// Writes straight into `out`, right to left, with fixed-size stores only: the
// text is at most 19 characters here, and `out` has room for far more.
char* WriteFastPath(double value, char* out) {
    const std::uint64_t scaled = ScaledMagnitude(value);
    if (scaled < kDecimalScale * kDecimalScale) {
        return WriteTenCharacters(scaled, std::signbit(value), out);
    }
    std::uint64_t integer = scaled / kDecimalScale;
    const std::uint64_t fraction = scaled % kDecimalScale;
    const bool negative = std::signbit(value);

    const int textLength = static_cast<int>(negative) + DecimalDigitCount(integer) + 5;
    const int fieldLength = textLength > kColumnWidth ? textLength : kColumnWidth;
    std::memset(out, ' ', kColumnWidth);

    char* position = out + fieldLength;
    position -= 2;
    std::memcpy(position, DigitPair(fraction % 100), 2);
    position -= 2;
    std::memcpy(position, DigitPair(fraction / 100), 2);
    *--position = '.';
    while (integer >= 100) {
        position -= 2;
        std::memcpy(position, DigitPair(integer % 100), 2);
        integer /= 100;
    }
    if (integer >= 10) {
        position -= 2;
        std::memcpy(position, DigitPair(integer), 2);
    } else {
        *--position = static_cast<char>('0' + integer);
    }
    if (negative) {
        *--position = '-';
    }
    return out + fieldLength;
}

char* WriteSlowPath(double value, char* out) {
    if (std::isnan(value)) {
        return PadAndCopy(std::signbit(value) ? "-nan" : "nan", out);
    }
    if (std::isinf(value)) {
        return PadAndCopy(value < 0 ? "-inf" : "inf", out);
    }
    std::array<char, kMaximumColumnLength> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 4);
    return PadAndCopy({text.data(), static_cast<std::size_t>(result.ptr - text.data())}, out);
}

}  // namespace

char* WriteColumn(double value, char* out) {
    if (std::fabs(value) < kFastPathLimit) {
        return WriteFastPath(value, out);
    }
    return WriteSlowPath(value, out);
}

}  // namespace wertomat
