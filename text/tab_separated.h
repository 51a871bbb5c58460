// Lines of tab-separated fields, as the result table is written: what the
// spreadsheet flavours and the companion's CSV read. Header-only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace text {

// Calls `field(column, text)` for each field that [first, last) of `text`
// takes a byte of, until it returns false, and `rowEnd()` after each line
// that has one. Lines end in LF or CR LF; a field ends at a tab or its line's
// end, and its padding is part of it. `text` is what the range takes of the
// field: a number cut by the range's start or end is the digits taken, never
// the whole number. A field the range takes nothing of (an empty one, or
// one outside it) is not visited.
template <typename FieldVisitor, typename RowEndVisitor>
void VisitFields(std::string_view text, std::size_t first, std::size_t last, FieldVisitor&& field,
                 RowEndVisitor&& rowEnd) {
    const std::size_t previousBreak = text.rfind('\n', first == 0 ? 0 : first - 1);
    std::size_t lineStart =
        first == 0 || previousBreak == std::string_view::npos ? 0 : previousBreak + 1;
    while (lineStart < last) {
        std::size_t lineEnd = text.find('\n', lineStart);
        const std::size_t nextLine = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
        lineEnd = std::min(lineEnd, text.size());
        if (lineEnd > lineStart && text[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        bool covered = false;
        std::size_t column = 0;
        for (std::size_t fieldStart = lineStart; fieldStart <= lineEnd; ++column) {
            // Searched within the line: a text without tabs stays one pass.
            const std::size_t fieldEnd =
                std::min(text.substr(0, lineEnd).find('\t', fieldStart), lineEnd);
            const std::size_t takenStart = std::max(fieldStart, first);
            const std::size_t takenEnd = std::min(fieldEnd, last);
            if (takenStart < takenEnd) {
                if (!field(column, text.substr(takenStart, takenEnd - takenStart))) {
                    return;
                }
                covered = true;
            }
            fieldStart = fieldEnd + 1;
        }
        if (covered) {
            rowEnd();
        }
        lineStart = nextLine;
    }
}

}  // namespace text
