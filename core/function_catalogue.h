// The three cubic polynomials the user can tabulate.
#pragma once

#include <cstdint>

namespace wertomat {

// Position of the checked radio button in the polynomial group; only 0, 1 and 2
// name a polynomial.
using FunctionKind = std::int32_t;

inline constexpr FunctionKind kFunctionCount = 3;

constexpr bool IsKnownFunction(FunctionKind kind) {
    return kind >= 0 && kind < kFunctionCount;
}

// y of polynomial `kind` at x, rounded after every single operation in a fixed
// order so that every printed digit is reproducible. A finite x never gives NaN:
// a y beyond the double range is an infinity with the sign of the x³ term.
// `kind` must be a known function.
double Evaluate(FunctionKind kind, double x);

// At least |Evaluate(kind, x)| for every known kind and |x| up to `largestX`:
// each power's largest coefficient in size, summed, from the catalogue itself.
double LargestMagnitude(double largestX);

}  // namespace wertomat
