// Inside the core: what both forms of the run share. Not for callers.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <variant>

#include "fixed_format.h"
#include "tabulation.h"

namespace wertomat {

inline constexpr std::size_t kMaximumRowLength = 2 * kMaximumColumnLength + 3;

// Below this many rows a second thread costs more than it saves.
inline constexpr std::size_t kRowsWorthASecondThread = 64 << 10;

// Whether a table of at least kRowsWorthASecondThread rows gets a second thread.
bool UsesASecondThread(Threads threads);

// Formats one row "%10.4f\t%10.4f\r\n" of x and y at sXY, which must have room
// for kMaximumRowLength characters; returns the row's length.
std::size_t WriteRow(double x, double y, char* sXY);
// `count` rows from `x` on, x accumulated row by row; returns their length.
std::size_t WriteRows(const TabulationRequest& request, double x, std::size_t count, char* out);
// x after `count` more rows, accumulated exactly as the rows do.
double AdvanceX(const TabulationRequest& request, double x, std::size_t count);

// The checks in their fixed order: the three range tests first, then finite
// values and a known polynomial. Nullopt means the request is usable.
std::optional<TabulationRefusal> RefusalFor(const TabulationRequest& request);
// Where x stops: a tenth of a step beyond the end, so that an accumulated x
// that lands just past the end is still tabulated. Infinite only for an end
// next to the largest double.
inline double RowLimit(const TabulationRequest& request) {
    return request.end + request.step * 0.1;
}
// Rough number of steps from the start to the limit.
double EstimatedStepCount(const TabulationRequest& request);

// At least the length of any row the request can give, from its range alone.
std::size_t RowLengthBound(const TabulationRequest& request);

// What a usable request will produce, settled before anything is written.
struct TablePlan {
    std::size_t rowCount = 0;
    std::size_t lengthBound = 0;     // at least the text's length, at most the cap
    std::size_t rowLengthBound = 0;  // at least any row's length
};

// The checks in their fixed order, then one pass over x alone that finds the
// row count and an x that stops moving, and the length bound. Either a plan
// or the refusal.
std::variant<TablePlan, TabulationRefusal> PlanTable(const TabulationRequest& request);

}  // namespace wertomat
