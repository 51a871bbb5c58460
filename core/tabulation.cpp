#include "tabulation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "fixed_format.h"

namespace wertomat {
namespace {

constexpr std::size_t kMaximumRowLength = 2 * kMaximumColumnLength + 3;

TabulationOutcome Failure(std::string_view message) {
    return {false, std::string(message)};
}

// Formats one row "%10.4f\t%10.4f\r\n" of x and y at sXY, which must have room
// for kMaximumRowLength characters; returns the row's length.
std::size_t WriteRow(double x, double y, char* sXY) {
    char* out = WriteColumn(x, sXY);
    *out++ = '\t';
    out = WriteColumn(y, out);
    *out++ = '\r';
    *out++ = '\n';
    return static_cast<std::size_t>(out - sXY);
}

// The checks in their fixed order: the three range tests first, then finite
// values and a known polynomial. An empty view means the request is usable.
std::string_view RefusalFor(const TabulationRequest& request) {
    if (request.end == request.start) {
        return kEqualStartAndEndMessage;
    }
    if (request.end > request.start && request.step <= 0) {
        return kRisingRangeNeedsPositiveStepMessage;
    }
    if (request.end < request.start && request.step >= 0) {
        return kFallingRangeNeedsNegativeStepMessage;
    }
    if (!std::isfinite(request.start) || !std::isfinite(request.step) ||
        !std::isfinite(request.end)) {
        return kNotFiniteMessage;
    }
    if (!IsKnownFunction(request.kind)) {
        return kUnknownFunctionMessage;
    }
    return {};
}

// Rough number of steps between start and limit. Divides before subtracting
// so that a range wider than the largest double does not overflow.
double EstimatedStepCount(double start, double step, double limit) {
    return std::fabs(limit / step - start / step);
}

// Bytes to reserve up front: the estimated rows times the longer of the first
// and the last row, which covers the usual tables without growing.
std::size_t InitialCapacity(const TabulationRequest& request, double stepCount) {
    std::array<char, kMaximumRowLength> row{};
    const std::size_t firstRow =
        WriteRow(request.start, Evaluate(request.kind, request.start), row.data());
    const std::size_t lastRow =
        WriteRow(request.end, Evaluate(request.kind, request.end), row.data());
    const double estimate = (stepCount + 2.0) * static_cast<double>(std::max(firstRow, lastRow)) +
                            static_cast<double>(kTableHeader.size());
    return static_cast<std::size_t>(std::min(estimate, static_cast<double>(kMaximumTableLength)));
}

}  // namespace

TabulationOutcome RunTabulation(const TabulationRequest& request) {
    if (const std::string_view message = RefusalFor(request); !message.empty()) {
        return Failure(message);
    }

    // A tenth of a step beyond the end, so that an accumulated x that lands
    // just past the end is still tabulated.
    const double limit = request.end + request.step * 0.1;
    // The limit overflows only for an end next to the largest double.
    const double reach = std::isfinite(limit) ? limit : request.end;
    const double stepCount = EstimatedStepCount(request.start, request.step, reach);
    // Refuse up front when the table is too large for certain. Rounding can
    // make x advance by up to twice the step (a step just over half the spacing
    // of doubles near x), so only an estimate beyond twice the cap is certain;
    // the loop below guards the rest, and the case where x stops moving.
    if (!(stepCount < 2.0 * static_cast<double>(kMaximumRowCount))) {
        return Failure(kTableTooLargeMessage);
    }

    // Rows are written straight into the text; `length` is the part in use and
    // the rest is room for the next row.
    std::string sErg(InitialCapacity(request, stepCount) + kMaximumRowLength, '\0');
    std::size_t length = kTableHeader.copy(sErg.data(), kTableHeader.size());

    const bool descending = request.step < 0;
    std::size_t rowCount = 0;
    double x = request.start;
    while (descending ? x > limit : x < limit) {
        if (rowCount == kMaximumRowCount) {
            return Failure(kTableTooLargeMessage);
        }
        if (sErg.size() - length < kMaximumRowLength) {
            // Grow by half, never much past the largest table allowed.
            const std::size_t grown =
                std::max(sErg.size() + sErg.size() / 2, length + kMaximumRowLength);
            sErg.resize(std::min(grown, kMaximumTableLength + kMaximumRowLength));
        }
        char* const sXY = sErg.data() + length;
        length += WriteRow(x, Evaluate(request.kind, x), sXY);
        if (length > kMaximumTableLength) {
            return Failure(kTableTooLargeMessage);
        }
        ++rowCount;

        const double next = x + request.step;
        if (next == x) {
            return Failure(kTableTooLargeMessage);  // the step no longer moves x
        }
        x = next;
    }
    sErg.resize(length);
    return {true, std::move(sErg)};
}

}  // namespace wertomat
