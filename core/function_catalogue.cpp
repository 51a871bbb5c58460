#include "function_catalogue.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <limits>

namespace wertomat {
namespace {

struct CubicCoefficients {
    double cubic;
    double quadratic;
    double linear;
    double constant;
};

// Subtracting c equals adding -c exactly (rounding to nearest is symmetric), so
// "2x³ - 3x² + 4x - 5" may be evaluated as a sum with signed coefficients.
constexpr std::array<CubicCoefficients, kFunctionCount> kCatalogue{{
    {2.0, -3.0, 4.0, -5.0},
    {4.0, -2.0, -4.0, 5.0},
    {-0.5, 0.4, 4.0, 33.0},
}};

constexpr double Magnitude(double value) {
    return value < 0 ? -value : value;
}

// Power by power, the largest coefficient of the catalogue in size.
constexpr CubicCoefficients kLargest = [] {
    CubicCoefficients largest{0.0, 0.0, 0.0, 0.0};
    for (const CubicCoefficients& c : kCatalogue) {
        largest.cubic = std::max(largest.cubic, Magnitude(c.cubic));
        largest.quadratic = std::max(largest.quadratic, Magnitude(c.quadratic));
        largest.linear = std::max(largest.linear, Magnitude(c.linear));
        largest.constant = std::max(largest.constant, Magnitude(c.constant));
    }
    return largest;
}();

}  // namespace

double LargestMagnitude(double largestX) {
    const double m = Magnitude(largestX);
    return ((kLargest.cubic * m) * m) * m + (kLargest.quadratic * m) * m + kLargest.linear * m +
           kLargest.constant;
}

double Evaluate(FunctionKind kind, double x) {
    assert(IsKnownFunction(kind));
    const CubicCoefficients& c = kCatalogue[static_cast<std::size_t>(kind)];

    // The order of operations fixes the last bits of y; keep it exactly so.
    const double cubicTerm = ((c.cubic * x) * x) * x;
    const double quadraticTerm = (c.quadratic * x) * x;
    double sum = cubicTerm + quadraticTerm;
    sum = sum + c.linear * x;
    const double y = sum + c.constant;

    if (std::isfinite(y) || !std::isfinite(x)) {
        return y;
    }
    // Some intermediate overflowed. With an unbounded exponent the cubic term
    // dominates every other term by far more than the precision of a double, so
    // the exact result overflows as well, towards the sign of the cubic term.
    const bool negative = std::signbit(c.cubic) != std::signbit(x);
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

}  // namespace wertomat
