// Any request: the run must end, stay within its bounds and give either one
// known message or a well-formed table whose rows match the x values it walks,
// and the streamed run must give the same.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/tabulation.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wertomat::TabulationRequest request;
    if (size < 3 * sizeof(double) + sizeof(std::int32_t)) {
        return 0;
    }
    std::memcpy(&request.start, data, sizeof(double));
    std::memcpy(&request.step, data + 8, sizeof(double));
    std::memcpy(&request.end, data + 16, sizeof(double));
    std::memcpy(&request.kind, data + 24, sizeof(std::int32_t));

    const wertomat::TabulationOutcome outcome = wertomat::RunTabulation(request);
    // The streamed form gives the same bytes, or the same refusal and no byte.
    std::string streamed;
    const wertomat::StreamOutcome stream =
        wertomat::StreamTabulation(request, [&streamed](std::string_view chunk) {
            streamed += chunk;
            return true;
        });
    Check(outcome.succeeded == (stream.result == wertomat::StreamResult::Written));
    Check(outcome.succeeded
              ? streamed == outcome.text
              : streamed.empty() && outcome.text.empty() && stream.refusal == outcome.refusal);
    if (!outcome.succeeded) {
        return 0;
    }
    const std::string_view table = outcome.text;
    Check(table.size() <= wertomat::kMaximumTableLength);
    Check(table.substr(0, wertomat::kTableHeader.size()) == wertomat::kTableHeader);
    Check(table.size() >= 2 && table.substr(table.size() - 2) == "\r\n");

    // Each row: a column, a tab, a column, CR LF; the rows follow the x values.
    const auto rowCount =
        static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n')) - 1;
    Check(rowCount >= 1 && rowCount <= wertomat::kMaximumRowCount);
    Check(static_cast<std::size_t>(std::count(table.begin(), table.end(), '\t')) == rowCount + 1);
    double x = request.start;
    const double limit = request.end + request.step * 0.1;
    std::size_t expectedRows = 0;
    while ((request.step < 0 ? x > limit : x < limit) && expectedRows <= rowCount) {
        ++expectedRows;
        x += request.step;
    }
    Check(expectedRows == rowCount);
    return 0;
}
