#include "tabulation.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstring>
#include <optional>
#include <variant>

#include "fixed_format.h"
#include "parallel/in_two_threads.h"
#include "table_plan.h"

namespace wertomat {

std::size_t WriteRow(double x, double y, char* sXY) {
    char* out = WriteColumn(x, sXY);
    *out++ = '\t';
    out = WriteColumn(y, out);
    *out++ = '\r';
    *out++ = '\n';
    return static_cast<std::size_t>(out - sXY);
}

std::size_t WriteRows(const TabulationRequest& request, double x, std::size_t count, char* out) {
    std::size_t length = 0;
    for (std::size_t row = 0; row < count; ++row) {
        length += WriteRow(x, Evaluate(request.kind, x), out + length);
        x += request.step;
    }
    return length;
}

double AdvanceX(const TabulationRequest& request, double x, std::size_t count) {
    for (std::size_t row = 0; row < count; ++row) {
        x += request.step;
    }
    return x;
}

std::optional<TabulationRefusal> RefusalFor(const TabulationRequest& request) {
    if (request.end == request.start) {
        return TabulationRefusal::EqualStartAndEnd;
    }
    if (request.end > request.start && request.step <= 0) {
        return TabulationRefusal::RisingRangeNeedsPositiveStep;
    }
    if (request.end < request.start && request.step >= 0) {
        return TabulationRefusal::FallingRangeNeedsNegativeStep;
    }
    if (!std::isfinite(request.start) || !std::isfinite(request.step) ||
        !std::isfinite(request.end)) {
        return TabulationRefusal::NotFinite;
    }
    if (!IsKnownFunction(request.kind)) {
        return TabulationRefusal::UnknownFunction;
    }
    return std::nullopt;
}

double EstimatedStepCount(const TabulationRequest& request) {
    // Dividing before subtracting keeps a range wider than the largest double
    // from overflowing.
    const double limit = RowLimit(request);
    const double reach = std::isfinite(limit) ? limit : request.end;
    return std::fabs(reach / request.step - request.start / request.step);
}

namespace {

// A hint that a large fresh buffer be backed by huge pages, where the system
// offers them; nothing happens elsewhere or for small buffers.
void PreferLargePages(void* data, std::size_t size) {
#if defined(__linux__)
    // Large tables take thousands of page faults on fresh memory; huge pages
    // cut that to a handful where the system offers them on request.
    constexpr std::uintptr_t kPage = 4096;
    constexpr std::size_t kWorthIt = 4 << 20;
    if (size < kWorthIt) {
        return;
    }
    // The whole pages inside the buffer.
    auto* const bytes = static_cast<char*>(data);
    const auto address = reinterpret_cast<std::uintptr_t>(bytes);
    char* const begin = bytes + (kPage - address % kPage) % kPage;
    char* const end = bytes + size - (address + size) % kPage;
    static_cast<void>(madvise(begin, static_cast<std::size_t>(end - begin), MADV_HUGEPAGE));
#else
    static_cast<void>(data);
    static_cast<void>(size);
#endif
}

// The most characters "%10.4f" can take for a finite value up to `magnitude`,
// with room for a sign and a carry from rounding.
std::size_t ColumnLengthBound(double magnitude) {
    if (!std::isfinite(magnitude)) {
        return kMaximumColumnLength;
    }
    const double digits = magnitude < 1.0 ? 1.0 : std::floor(std::log10(magnitude)) + 2.0;
    return std::max<std::size_t>(10, 1 + static_cast<std::size_t>(digits) + 5);
}

// The exact length of the table's text, for the rare table whose bound
// passes the cap: every row formatted into a scratch row and counted.
std::size_t ExactLength(const TabulationRequest& request, std::size_t rowCount) {
    std::array<char, kMaximumRowLength> row{};
    std::size_t length = kTableHeader.size();
    double x = request.start;
    for (std::size_t i = 0; i < rowCount && length <= kMaximumTableLength; ++i) {
        length += WriteRow(x, Evaluate(request.kind, x), row.data());
        x += request.step;
    }
    return length;
}

}  // namespace

std::size_t RowLengthBound(const TabulationRequest& request) {
    // x runs from the start towards the limit and never passes it.
    const double limit = RowLimit(request);
    const double largestX = std::max(std::fabs(request.start), std::fabs(limit));
    return std::min(kMaximumRowLength, ColumnLengthBound(largestX) +
                                           ColumnLengthBound(LargestMagnitude(largestX)) + 3);
}

std::variant<TablePlan, TabulationRefusal> PlanTable(const TabulationRequest& request) {
    if (const std::optional<TabulationRefusal> refusal = RefusalFor(request)) {
        return *refusal;
    }
    // Refuse up front when the table is too large for certain. Rounding can
    // make x advance by up to twice the step (a step just over half the spacing
    // of doubles near x), so only an estimate beyond twice the cap is certain.
    if (!(EstimatedStepCount(request) < 2.0 * static_cast<double>(kMaximumRowCount))) {
        return TabulationRefusal::TooManyRows;
    }
    const double limit = RowLimit(request);
    const bool descending = request.step < 0;
    TablePlan plan;
    for (double x = request.start; descending ? x > limit : x < limit; x += request.step) {
        if (plan.rowCount == kMaximumRowCount || x + request.step == x) {
            return TabulationRefusal::TooManyRows;  // or the step no longer moves x
        }
        ++plan.rowCount;
    }
    plan.rowLengthBound = RowLengthBound(request);
    const double bound =
        static_cast<double>(kTableHeader.size()) +
        static_cast<double>(plan.rowCount) * static_cast<double>(plan.rowLengthBound);
    if (bound <= static_cast<double>(kMaximumTableLength)) {
        plan.lengthBound = static_cast<std::size_t>(bound);
    } else {
        plan.lengthBound = ExactLength(request, plan.rowCount);
        if (plan.lengthBound > kMaximumTableLength) {
            return TabulationRefusal::TableTooLong;
        }
    }
    assert(plan.rowCount <= kMaximumRowCount && plan.rowLengthBound <= kMaximumRowLength);
    return plan;
}

namespace {

// Every row of the plan at `out`; returns their length. A large table is
// written in two halves at once: the second half goes where the bound says
// the first half ends at the latest, and moves down if the first is shorter
// (with rows of one length, the usual case, it fits exactly).
std::size_t WriteAllRows(const TabulationRequest& request, const TablePlan& table, Threads threads,
                         char* out) {
    const bool roomForTheBound =
        table.lengthBound >= kTableHeader.size() + table.rowCount * table.rowLengthBound;
    if (table.rowCount < kRowsWorthASecondThread || !roomForTheBound ||
        !UsesASecondThread(threads)) {
        return WriteRows(request, request.start, table.rowCount, out);
    }
    const std::size_t firstRows = table.rowCount / 2;
    char* const secondOut = out + firstRows * table.rowLengthBound;
    std::size_t firstLength = 0;
    std::size_t secondLength = 0;
    parallel::InTwoThreads([&] { firstLength = WriteRows(request, request.start, firstRows, out); },
                           [&] {
                               secondLength =
                                   WriteRows(request, AdvanceX(request, request.start, firstRows),
                                             table.rowCount - firstRows, secondOut);
                           });
    // The first half ends where the bound says at the latest: no row of it
    // was written over the second's.
    assert(out + firstLength <= secondOut);
    if (out + firstLength != secondOut) {
        std::memmove(out + firstLength, secondOut, secondLength);
    }
    return firstLength + secondLength;
}

}  // namespace

bool UsesASecondThread(Threads threads) {
    switch (threads) {
        case Threads::One:
            return false;
        case Threads::Two:
            return true;
        case Threads::Automatic:
            break;
    }
    return std::thread::hardware_concurrency() > 1;
}

TabulationOutcome RunTabulation(const TabulationRequest& request, Threads threads) {
    const auto plan = PlanTable(request);
    if (const auto* refusal = std::get_if<TabulationRefusal>(&plan)) {
        return {false, {}, *refusal, 0};
    }
    const auto& table = std::get<TablePlan>(plan);
    // Rows are written straight into the text; the bound leaves room for each.
    std::string sErg;
    sErg.reserve(table.lengthBound + kMaximumRowLength);
    PreferLargePages(sErg.data(), sErg.capacity());
    sErg.resize(table.lengthBound + kMaximumRowLength);
    const std::size_t header = kTableHeader.copy(sErg.data(), kTableHeader.size());
    const std::size_t length = header + WriteAllRows(request, table, threads, sErg.data() + header);
    assert(length <= table.lengthBound);  // the bound the plan promised, which sized the buffer
    sErg.resize(length);
    // Give back what the bound reserved beyond the text.
    if (sErg.capacity() - length > length / 8) {
        sErg.shrink_to_fit();
    }
    return {true, std::move(sErg), {}, table.rowCount};
}

}  // namespace wertomat
