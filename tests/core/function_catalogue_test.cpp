#include "core/function_catalogue.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace wertomat {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(FunctionCatalogue, KnownValuesAtSmallIntegers) {
    struct Case {
        double x;
        double y0, y1, y2;
    };
    for (const Case& c :
         {Case{0.0, -5.0, 5.0, 33.0}, Case{1.0, -2.0, 3.0, 36.9}, Case{2.0, 7.0, 21.0, 38.6}}) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(Evaluate(0, c.x), c.y0);
        EXPECT_EQ(Evaluate(1, c.x), c.y1);
        EXPECT_DOUBLE_EQ(Evaluate(2, c.x), c.y2);
    }
    EXPECT_DOUBLE_EQ(Evaluate(0, 0.1), -4.628);
    EXPECT_DOUBLE_EQ(Evaluate(2, 0.1), 33.4035);
}

// The polynomials written out in their documented order (a - b, s - 4x, ...),
// independently of the signed-coefficient table the implementation uses.
double Documented(FunctionKind kind, double x) {
    switch (kind) {
        case 0: {
            const double a = ((2.0 * x) * x) * x;
            const double b = (3.0 * x) * x;
            double s = a - b;
            s = s + 4.0 * x;
            return s - 5.0;
        }
        case 1: {
            const double a = ((4.0 * x) * x) * x;
            const double b = (2.0 * x) * x;
            double s = a - b;
            s = s - 4.0 * x;
            return s + 5.0;
        }
        default: {
            const double a = ((-0.5 * x) * x) * x;
            const double b = (0.4 * x) * x;
            double s = a + b;
            s = s + 4.0 * x;
            return s + 33.0;
        }
    }
}

TEST(FunctionCatalogue, BitExactWithTheDocumentedOrderWhereNothingOverflows) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> exponent(-320.0, 153.0);
    for (int i = 0; i < 300'000; ++i) {
        const double magnitude = std::pow(10.0, exponent(random));
        const double x = (random() & 1) != 0 ? -magnitude : magnitude;
        for (FunctionKind kind = 0; kind < kFunctionCount; ++kind) {
            const double expected = Documented(kind, x);
            const double actual = Evaluate(kind, x);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
                << "kind " << kind << " x " << x;
        }
    }
}

TEST(FunctionCatalogue, OverflowGivesInfinityWithTheSignOfTheCubicTerm) {
    // Plain double arithmetic would give inf - inf = NaN here.
    EXPECT_EQ(Evaluate(0, 1e155), kInfinity);
    EXPECT_EQ(Evaluate(1, 1e155), kInfinity);
    EXPECT_EQ(Evaluate(2, 1e155), -kInfinity);
    EXPECT_EQ(Evaluate(0, -1e155), -kInfinity);
    EXPECT_EQ(Evaluate(1, -1e155), -kInfinity);
    EXPECT_EQ(Evaluate(2, -1e155), kInfinity);

    const double largest = std::numeric_limits<double>::max();
    for (const double x : {1e103, 7e153, 1e200, largest, -largest}) {
        for (FunctionKind kind = 0; kind < kFunctionCount; ++kind) {
            const double y = Evaluate(kind, x);
            EXPECT_TRUE(std::isinf(y)) << "kind " << kind << " x " << x;
            const bool cubicTermNegative = (kind == 2) != (x < 0);
            EXPECT_EQ(std::signbit(y), cubicTermNegative) << "kind " << kind << " x " << x;
        }
    }
}

// The bound the table's buffer is sized by holds for every polynomial, near
// the powers' crossovers and far out, on both sides of zero.
TEST(FunctionCatalogue, LargestMagnitudeBoundsEveryPolynomial) {
    for (FunctionKind kind = 0; kind < kFunctionCount; ++kind) {
        for (const double x : {0.0, 0.3, 1.0, 1.5, 2.0, 7.25, 33.0, 1e3, 1e50, 1e100}) {
            for (const double signedX : {x, -x}) {
                EXPECT_LE(std::fabs(Evaluate(kind, signedX)), LargestMagnitude(x))
                    << "kind " << kind << " x " << signedX;
            }
        }
    }
    EXPECT_EQ(LargestMagnitude(0.0), 33.0);  // the largest constant term
}

}  // namespace
}  // namespace wertomat
