#include "framework/results_view/spreadsheet_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "text/text_encoding.h"

namespace framework {
namespace {

constexpr std::string_view kBeforeStyle = "<html><head><meta charset=\"utf-8\"><style>";
constexpr std::string_view kBeforeTable = "</style></head><body>\r\n<!--StartFragment-->";
constexpr std::string_view kAfterTable = "<!--EndFragment-->\r\n</body></html>\r\n";
// Numbers with more decimals than this are given no format of their own.
constexpr std::size_t kMostDecimals = 15;

// The blank-trimmed field, when it is a plain decimal number ("-459.7875"),
// and its count of decimals.
struct Number {
    std::string_view text;
    std::size_t decimals;
};
std::optional<Number> NumberIn(std::string_view field) {
    const std::size_t begin = field.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view number = field.substr(begin, field.find_last_not_of(' ') + 1 - begin);
    const std::string_view unsigned_ = number.front() == '-' ? number.substr(1) : number;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const std::size_t point = unsigned_.find('.');
    const std::string_view whole = unsigned_.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : unsigned_.substr(point + 1);
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        (point != std::string_view::npos &&
         (fraction.empty() || !std::all_of(fraction.begin(), fraction.end(), isDigit)))) {
        return std::nullopt;
    }
    return Number{number, fraction.size()};
}

// Calls `cell(column, field)` for each cell the selection covers, until it
// returns false, and `rowEnd()` after each line that has one; a field ends at
// a tab or the line's break, and its padding is part of it. `field` is what
// the selection takes of it: a number cut by the selection's start or end
// is the digits selected, never the whole number.
template <typename CellVisitor, typename RowEndVisitor>
void VisitCoveredCells(std::string_view text, std::size_t first, std::size_t last,
                       CellVisitor&& cell, RowEndVisitor&& rowEnd) {
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
                if (!cell(column, text.substr(takenStart, takenEnd - takenStart))) {
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

class Counter {
public:
    void Put(std::string_view bytes) { length_ += bytes.size(); }
    void Put(char) { ++length_; }
    void FragmentStarts() { fragmentStart_ = length_; }
    void FragmentEnds() { fragmentEnd_ = length_; }
    std::size_t Length() const { return length_; }
    std::size_t FragmentStart() const { return fragmentStart_; }
    std::size_t FragmentEnd() const { return fragmentEnd_; }

private:
    std::size_t length_ = 0;
    std::size_t fragmentStart_ = 0;
    std::size_t fragmentEnd_ = 0;
};

class Writer {
public:
    explicit Writer(char* out) : out_(out) {}
    void Put(std::string_view bytes) {
        std::memcpy(out_, bytes.data(), bytes.size());
        out_ += bytes.size();
    }
    void Put(char byte) { *out_++ = byte; }
    void FragmentStarts() {}
    void FragmentEnds() {}

private:
    char* out_;
};

// A number format of `decimals` places: LibreOffice's "0.0000"; Excel's
// HTML escapes the point, "0\.0000".
std::string FormatCode(std::size_t decimals, std::string_view point = ".") {
    std::string code = "0";
    if (decimals > 0) {
        code += point;
        code.append(decimals, '0');
    }
    return code;
}

template <typename Sink>
void PutText(Sink& sink, std::string_view field) {
    for (const char byte : field) {
        switch (byte) {
            case '&':
                sink.Put("&amp;");
                break;
            case '<':
                sink.Put("&lt;");
                break;
            case '>':
                sink.Put("&gt;");
                break;
            case '"':
                sink.Put("&quot;");
                break;
            default:
                if (static_cast<unsigned char>(byte) < 0x80) {
                    sink.Put(byte);
                } else {
                    sink.Put(text::Windows1252ToUtf8(std::string_view(&byte, 1)));
                }
        }
    }
}

template <typename Sink>
void PutNumber(Sink& sink, const Number& number, char decimalMark) {
    if (number.decimals > kMostDecimals) {
        sink.Put("<td sdval=\"");
    } else {
        sink.Put("<td class=d");
        sink.Put(std::to_string(number.decimals));
        sink.Put(" sdval=\"");
    }
    sink.Put(number.text);
    if (number.decimals <= kMostDecimals) {
        // LibreOffice: the value in the C convention (language 1033), the
        // format in the user's (0, the system's language).
        sink.Put("\" sdnum=\"1033;0;");
        sink.Put(FormatCode(number.decimals));
    }
    sink.Put("\">");
    for (const char character : number.text) {
        sink.Put(character == '.' ? decimalMark : character);
    }
    sink.Put("</td>");
}

// What the first pass over the selection finds.
struct Survey {
    std::size_t cells = 0;
    std::size_t firstColumn = std::string_view::npos;  // the leftmost covered
    unsigned decimalCounts = 0;                        // bit n: a number with n decimals
};

// Stops after `enoughCells`.
Survey SurveyOf(std::string_view text, std::size_t first, std::size_t last,
                std::size_t enoughCells) {
    Survey survey;
    VisitCoveredCells(
        text, first, last,
        [&survey, enoughCells](std::size_t column, std::string_view field) {
            ++survey.cells;
            survey.firstColumn = std::min(survey.firstColumn, column);
            if (const auto number = NumberIn(field);
                number.has_value() && number->decimals <= kMostDecimals) {
                survey.decimalCounts |= 1u << number->decimals;
            }
            return survey.cells < enoughCells;
        },
        [] {});
    return survey;
}

// The whole document. Rows keep their columns: a line whose selection starts
// in its second field gets an empty first cell when a later line has one.
template <typename Sink>
void Emit(Sink& sink, std::string_view text, std::size_t first, std::size_t last, char decimalMark,
          std::size_t firstColumn, unsigned decimalCounts) {
    sink.Put(kBeforeStyle);
    for (std::size_t decimals = 0; decimals <= kMostDecimals; ++decimals) {
        if ((decimalCounts & (1u << decimals)) != 0) {
            sink.Put("td.d");
            sink.Put(std::to_string(decimals));
            sink.Put("{mso-number-format:\"");
            sink.Put(FormatCode(decimals, "\\."));
            sink.Put("\"}");
        }
    }
    sink.Put(kBeforeTable);
    sink.FragmentStarts();
    sink.Put("<table>");
    std::size_t nextColumn = firstColumn;
    bool rowOpen = false;
    VisitCoveredCells(
        text, first, last,
        [&](std::size_t column, std::string_view field) {
            if (!rowOpen) {
                sink.Put("<tr>");
                rowOpen = true;
            }
            for (; nextColumn < column; ++nextColumn) {
                sink.Put("<td></td>");
            }
            if (const auto number = NumberIn(field)) {
                PutNumber(sink, *number, decimalMark);
            } else if (field.find_first_not_of(' ') == std::string_view::npos) {
                sink.Put("<td></td>");  // only padding selected
            } else {
                sink.Put("<td>");
                PutText(sink, field);
                sink.Put("</td>");
            }
            nextColumn = column + 1;
            return true;
        },
        [&] {
            sink.Put("</tr>\n");
            nextColumn = firstColumn;
            rowOpen = false;
        });
    sink.Put("</table>");
    sink.FragmentEnds();
    sink.Put(kAfterTable);
}

}  // namespace

std::optional<SpreadsheetTable> SpreadsheetTable::Of(std::string_view text, std::size_t first,
                                                     std::size_t last, char decimalMark) {
    last = std::min(last, text.size());
    first = std::min(first, last);
    const Survey survey = SurveyOf(text, first, last, std::string_view::npos);
    if (survey.cells < 2) {
        return std::nullopt;
    }
    SpreadsheetTable table(text, first, last, decimalMark);
    table.firstColumn_ = survey.firstColumn;
    table.decimalCounts_ = survey.decimalCounts;
    Counter counter;
    Emit(counter, text, first, last, decimalMark, survey.firstColumn, survey.decimalCounts);
    table.length_ = counter.Length();
    table.fragmentStart_ = counter.FragmentStart();
    table.fragmentEnd_ = counter.FragmentEnd();
    return table;
}

bool SpreadsheetTable::Covers(std::string_view text, std::size_t first, std::size_t last) {
    last = std::min(last, text.size());
    return SurveyOf(text, std::min(first, last), last, 2).cells == 2;
}

void SpreadsheetTable::WriteTo(char* out) const {
    Writer writer(out);
    Emit(writer, text_, first_, last_, decimalMark_, firstColumn_, decimalCounts_);
}

std::string SpreadsheetTable::ClipboardHeader() const {
    // Fixed-width offsets, so that the header's length is known before they are.
    constexpr std::string_view kShape =
        "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\n"
        "StartFragment:%010zu\r\nEndFragment:%010zu\r\n";
    constexpr std::size_t kLength = 105;
    std::array<char, kLength + 1> header{};
    std::snprintf(header.data(), header.size(), kShape.data(), kLength, kLength + length_,
                  kLength + fragmentStart_, kLength + fragmentEnd_);
    return {header.data(), kLength};
}

}  // namespace framework
