// One tabulation run: start, step, end and polynomial in; the table text
// (Windows-1252 bytes) or the reason for a refusal out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "function_catalogue.h"

namespace wertomat {

struct TabulationRequest {
    double start = 0.0;  // first x ("Xa")
    double step = 0.0;   // added to x from row to row ("Xsw"), may be negative
    double end = 0.0;    // x at which the table ends ("Xe")
    FunctionKind kind = 0;
};

// Why a request gives no table, in the order the checks run; the words for
// the user are the messages library's.
enum class TabulationRefusal {
    EqualStartAndEnd,
    RisingRangeNeedsPositiveStep,
    FallingRangeNeedsNegativeStep,
    NotFinite,
    UnknownFunction,
    TooManyRows,   // beyond kMaximumRowCount, or a step that no longer moves x
    TableTooLong,  // beyond kMaximumTableLength
};

// Either the table (succeeded) or the refusal (failed).
struct TabulationOutcome {
    bool succeeded = false;
    std::string text;  // the table; empty when refused
    TabulationRefusal refusal = TabulationRefusal::EqualStartAndEnd;
    std::size_t rows = 0;  // the table's rows, the header not counted
};

inline constexpr std::string_view kTableHeader = "x\ty\r\n";

// Bounds that keep a run from hanging or exhausting memory. 1,000,000 steps:
// 0 to 1 in steps of 0.000001 still fits, its end value included.
inline constexpr std::size_t kMaximumRowCount = 1'000'001;
inline constexpr std::size_t kMaximumTableLength = 64u << 20;

// How many threads write a large table: Automatic takes a second one when the
// machine has a second core; One and Two decide regardless (the bytes are
// the same either way, which the tests check on any machine).
enum class Threads { Automatic, One, Two };

// The whole table in one string with its row count, or the refusal.
TabulationOutcome RunTabulation(const TabulationRequest& request,
                                Threads threads = Threads::Automatic);

// The same run, streamed: the table goes to `write` chunk by chunk through a
// small reused buffer, the same bytes as RunTabulation's. A request that is
// refused, a bound included, writes nothing: the rows are settled before the
// first byte goes out. `write` returns false to stop (an output error).
enum class StreamResult { Written, Refused, WriteFailed };
struct StreamOutcome {
    StreamResult result = StreamResult::Written;
    TabulationRefusal refusal = TabulationRefusal::EqualStartAndEnd;  // for Refused
};
StreamOutcome StreamTabulation(const TabulationRequest& request,
                               const std::function<bool(std::string_view)>& write,
                               Threads threads = Threads::Automatic);

}  // namespace wertomat
