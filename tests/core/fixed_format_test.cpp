#include "core/fixed_format.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace wertomat {
namespace {

std::string Column(double value) {
    std::array<char, kMaximumColumnLength> text{};
    char* end = WriteColumn(value, text.data());
    return std::string(text.data(), end);
}

std::string Reference(double value) {
    std::array<char, kMaximumColumnLength + 8> text{};
    const int length = std::snprintf(text.data(), text.size(), "%10.4f", value);
    return {text.data(), static_cast<std::size_t>(length)};
}

// Compares `count` values from `next` with snprintf; stops at the first few
// mismatches so that a broken formatter does not flood the log.
template <typename Generator>
void ExpectSameAsPrintf(int count, Generator next) {
    int mismatches = 0;
    for (int i = 0; i < count && mismatches < 5; ++i) {
        const double value = next();
        const std::string expected = Reference(value);
        const std::string actual = Column(value);
        if (actual != expected) {
            ++mismatches;
            ADD_FAILURE() << "value " << std::hexfloat << value << ": got \"" << actual
                          << "\", printf gives \"" << expected << "\"";
        }
    }
}

double FromBits(std::uint64_t bits) {
    return std::bit_cast<double>(bits);
}

TEST(ColumnText, KnownValues) {
    EXPECT_EQ(Column(0.0), "    0.0000");
    EXPECT_EQ(Column(-0.0), "   -0.0000");
    EXPECT_EQ(Column(-6.4e-16), "   -0.0000");
    EXPECT_EQ(Column(0.1), "    0.1000");
    EXPECT_EQ(Column(-4.628), "   -4.6280");
    EXPECT_EQ(Column(36.9), "   36.9000");
    EXPECT_EQ(Column(0.03125), "    0.0312");  // exact tie, to even
    EXPECT_EQ(Column(0.09375), "    0.0938");  // exact tie, to even
    EXPECT_EQ(Column(-1234567.891), "-1234567.8910");
    EXPECT_EQ(Column(12345.6789), "12345.6789");
    EXPECT_EQ(Column(std::numeric_limits<double>::infinity()), "       inf");
    EXPECT_EQ(Column(-std::numeric_limits<double>::infinity()), "      -inf");
}

TEST(ColumnText, LargestDoubleIsWrittenInFullWithinTheBound) {
    const std::string text = Column(-std::numeric_limits<double>::max());
    EXPECT_EQ(text, Reference(-std::numeric_limits<double>::max()));
    EXPECT_LE(text.size(), kMaximumColumnLength);
}

// Together the differential cases below compare more than ten million values
// with glibc's printf.
TEST(ColumnTextAgainstPrintf, RandomBitPatternsOfAllMagnitudes) {
    std::mt19937_64 random(1);
    ExpectSameAsPrintf(1'000'000, [&] {
        double value = 0.0;
        do {
            value = FromBits(random());
        } while (std::isnan(value));
        return value;
    });
}

TEST(ColumnTextAgainstPrintf, RandomBitPatternsOfTableMagnitudes) {
    // Exponents from 2^-40 to 2^60: the range tables use, both sides of the fast path.
    std::mt19937_64 random(2);
    std::uniform_int_distribution<std::uint64_t> exponent(1023 - 40, 1023 + 60);
    ExpectSameAsPrintf(4'000'000, [&] {
        const std::uint64_t bits = (random() & 0x800F'FFFF'FFFF'FFFFu) | (exponent(random) << 52);
        return FromBits(bits);
    });
}

TEST(ColumnTextAgainstPrintf, ExactTiesAtTheFifthDecimal) {
    // x * 10^4 ends in exactly .5 only for odd multiples of 1/32.
    std::mt19937_64 random(3);
    ExpectSameAsPrintf(1'500'000, [&] {
        const std::uint64_t odd = (random() >> 14) | 1;  // below 2^50: exact after / 32
        const double value = static_cast<double>(odd) / 32.0;
        return (random() & 1) != 0 ? -value : value;
    });
}

TEST(ColumnTextAgainstPrintf, DecimalsNearRoundingBoundaries) {
    // n/10^4 +- 1/2 * 10^-4 and their neighbours: the carries into the next digit.
    std::mt19937_64 random(4);
    std::uniform_int_distribution<std::int64_t> scaled(-10'000'000'000, 10'000'000'000);
    ExpectSameAsPrintf(1'500'000, [&] {
        const double boundary = (static_cast<double>(scaled(random)) + 0.5) / 10'000.0;
        const int nudge = static_cast<int>(random() % 5) - 2;
        double value = boundary;
        for (int i = 0; i < std::abs(nudge); ++i) {
            value = std::nextafter(value, nudge < 0 ? -INFINITY : INFINITY);
        }
        return value;
    });
}

TEST(ColumnTextAgainstPrintf, ValuesThatRoundToZero) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> exponent(-330.0, -4.0);
    ExpectSameAsPrintf(1'000'000, [&] {
        const double value = std::pow(10.0, exponent(random)) * 0.99;
        return (random() & 1) != 0 ? -value : value;
    });
    ExpectSameAsPrintf(1, [] { return 0.00005; });
    ExpectSameAsPrintf(1, [] { return -0.00005; });
}

TEST(ColumnTextAgainstPrintf, EdgesOfTheFastPathAndPowers) {
    std::vector<double> anchors;
    for (int power = -1074; power <= 1023; ++power) {
        anchors.push_back(std::ldexp(1.0, power));
    }
    for (int power = -30; power <= 308; ++power) {
        anchors.push_back(std::pow(10.0, power));
    }
    for (const double anchor :
         {9.0e14, 9.2e14, 1e15, 4503599627370496.0, 9007199254740992.0, 18446744073709551616.0}) {
        anchors.push_back(anchor);
    }
    std::size_t index = 0;
    int offset = -50;
    const int total = static_cast<int>(anchors.size()) * 101 * 2;
    ExpectSameAsPrintf(total, [&] {
        double value = anchors[index / 2];
        for (int i = 0; i < std::abs(offset); ++i) {
            value = std::nextafter(value, offset < 0 ? 0.0 : INFINITY);
        }
        const double result = index % 2 == 0 ? value : -value;
        if (++index == anchors.size() * 2) {
            index = 0;
            ++offset;
        }
        return result;
    });
}

TEST(ColumnTextAgainstPrintf, SubnormalsAndNonFinite) {
    std::mt19937_64 random(6);
    ExpectSameAsPrintf(1'000'000, [&] {
        return FromBits(random() & 0x800F'FFFF'FFFF'FFFFu);  // biased exponent 0
    });
    for (const double special :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()}) {
        ExpectSameAsPrintf(1, [&] { return special; });
        ExpectSameAsPrintf(1, [&] { return -special; });
    }
}

}  // namespace
}  // namespace wertomat
