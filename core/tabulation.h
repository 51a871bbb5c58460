// One tabulation run: start, step, end and polynomial in; table text or one
// message out. Texts are Windows-1252 bytes.
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

// Either the table (succeeded) or exactly one message for the user (failed).
struct TabulationOutcome {
    bool succeeded = false;
    std::string text;
};

// The messages, Windows-1252 encoded ("\xFC" is ü, "\xE4" is ä).
inline constexpr std::string_view kEqualStartAndEndMessage =
    "Bitte unterschiedliche Werte f\xFCr den Anfangs- und den Endwert eingeben";
inline constexpr std::string_view kRisingRangeNeedsPositiveStepMessage =
    "Bitte einen positiven Wert f\xFCr die Schrittweite eingeben";
inline constexpr std::string_view kFallingRangeNeedsNegativeStepMessage =
    "Bitte einen negativen Wert f\xFCr die Schrittweite eingeben";
inline constexpr std::string_view kUnknownFunctionMessage =
    "Falscher Wert in switch-Case-Anweisung";
inline constexpr std::string_view kNotFiniteMessage =
    "Bitte endliche Zahlen f\xFCr Anfangswert, Schrittweite und Endwert eingeben";
// The two bounds below, each with its own remedy.
inline constexpr std::string_view kTooManyRowsMessage =
    "Die Tabelle h\xE4tte zu viele Zeilen: bitte eine gr\xF6\xDF"
    "ere Schrittweite oder einen kleineren Bereich eingeben (h\xF6"
    "chstens 1000001 Zeilen)";
inline constexpr std::string_view kTableTooLongMessage =
    "Der Text der Tabelle w\xE4re zu lang: bitte eine gr\xF6\xDF"
    "ere Schrittweite oder einen kleineren Bereich eingeben (h\xF6"
    "chstens 64 MiB)";

inline constexpr std::string_view kTableHeader = "x\ty\r\n";

// Bounds that keep a run from hanging or exhausting memory. 1,000,000 steps:
// 0 to 1 in steps of 0.000001 still fits, its end value included.
inline constexpr std::size_t kMaximumRowCount = 1'000'001;
inline constexpr std::size_t kMaximumTableLength = 64u << 20;

// How many threads write a large table: Automatic takes a second one when the
// machine has a second core; One and Two decide regardless (the bytes are
// the same either way, which the tests check on any machine).
enum class Threads { Automatic, One, Two };

// The whole table in one string, or the message.
TabulationOutcome RunTabulation(const TabulationRequest& request,
                                Threads threads = Threads::Automatic);

// The same run, streamed: the table goes to `write` chunk by chunk through a
// small reused buffer, the same bytes as RunTabulation's. A request that is
// refused, a bound included, writes nothing: the rows are settled before the
// first byte goes out. `write` returns false to stop (an output error).
enum class StreamResult { Written, Refused, WriteFailed };
struct StreamOutcome {
    StreamResult result = StreamResult::Written;
    std::string_view message;  // for Refused
};
StreamOutcome StreamTabulation(const TabulationRequest& request,
                               const std::function<bool(std::string_view)>& write,
                               Threads threads = Threads::Automatic);

}  // namespace wertomat
