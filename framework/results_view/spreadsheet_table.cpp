#include "framework/results_view/spreadsheet_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "text/tab_separated.h"
#include "text/text_encoding.h"

namespace framework {
namespace {

constexpr std::string_view kBeforeStyle = "<html><head><meta charset=\"utf-8\"><style>";
constexpr std::string_view kBeforeTable = "</style></head><body>\r\n<!--StartFragment-->";
constexpr std::string_view kAfterTable = "<!--EndFragment-->\r\n</body></html>\r\n";
constexpr std::string_view kGnumericStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gnm:ClipboardRange xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\" Cols=\"";
// Numbers with more decimals than this are given no format of their own.
constexpr std::size_t kMostDecimals = 15;

// The blank-trimmed field, when it is a plain decimal number ("-459.7875",
// or ".0000" when a selection cuts off the digits before the point), and its
// count of decimals.
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
    if ((whole.empty() && fraction.empty()) || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        (point != std::string_view::npos &&
         (fraction.empty() || !std::all_of(fraction.begin(), fraction.end(), isDigit)))) {
        return std::nullopt;
    }
    return Number{number, fraction.size()};
}

// The bit of Layout::decimalCounts for a number of `decimals` places; one
// bit for all numbers with more than kMostDecimals, which get no format.
unsigned DecimalsBit(std::size_t decimals) {
    return 1u << std::min(decimals, kMostDecimals + 1);
}

bool IsPadding(std::string_view field) {
    return field.find_first_not_of(' ') == std::string_view::npos;
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

}  // namespace

// Counts what the selection covers; stops after `enoughCells`.
std::size_t SpreadsheetTable::Survey(std::string_view text, std::size_t first, std::size_t last,
                                     std::size_t enoughCells, Layout& layout) {
    std::size_t cells = 0;
    layout.firstColumn = std::string_view::npos;
    bool anyNumber = false;
    text::VisitFields(
        text, first, last,
        [&](std::size_t column, std::string_view field) {
            ++cells;
            layout.firstColumn = std::min(layout.firstColumn, column);
            layout.lastColumn = std::max(layout.lastColumn, column);
            if (const auto number = NumberIn(field)) {
                layout.decimalCounts |= DecimalsBit(number->decimals);
                if (!anyNumber) {
                    layout.firstDecimals = number->decimals;
                    anyNumber = true;
                }
            }
            return cells < enoughCells;
        },
        [&layout] { ++layout.rows; });
    return cells;
}

// The whole HTML document. Rows keep their columns: a line whose selection
// starts in its second field gets an empty first cell when a later line has one.
template <typename Sink>
void SpreadsheetTable::EmitHtml(Sink& sink) const {
    sink.Put(kBeforeStyle);
    for (std::size_t decimals = 0; decimals <= kMostDecimals; ++decimals) {
        if ((layout_.decimalCounts & (1u << decimals)) != 0) {
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
    std::size_t nextColumn = layout_.firstColumn;
    bool rowOpen = false;
    text::VisitFields(
        text_, first_, last_,
        [&](std::size_t column, std::string_view field) {
            if (!rowOpen) {
                sink.Put("<tr>");
                rowOpen = true;
            }
            for (; nextColumn < column; ++nextColumn) {
                sink.Put("<td></td>");
            }
            if (const auto number = NumberIn(field)) {
                PutNumber(sink, *number, decimalMark_);
            } else if (IsPadding(field)) {
                sink.Put("<td></td>");
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
            nextColumn = layout_.firstColumn;
            rowOpen = false;
        });
    sink.Put("</table>");
    sink.FragmentEnds();
    sink.Put(kAfterTable);
}

// Gnumeric's clipboard document: every value in the C convention, the
// format of most numbers given once for the whole range and that of any
// other number for its own cell (a later style region wins). Cells of only
// padding are left out, as Gnumeric leaves out empty cells.
template <typename Sink>
void SpreadsheetTable::EmitGnumeric(Sink& sink) const {
    const auto putRegion = [&sink](std::size_t firstRow, std::size_t firstColumn,
                                   std::size_t lastRow, std::size_t lastColumn,
                                   std::size_t decimals) {
        sink.Put("<gnm:StyleRegion startCol=\"");
        sink.Put(std::to_string(firstColumn));
        sink.Put("\" startRow=\"");
        sink.Put(std::to_string(firstRow));
        sink.Put("\" endCol=\"");
        sink.Put(std::to_string(lastColumn));
        sink.Put("\" endRow=\"");
        sink.Put(std::to_string(lastRow));
        sink.Put("\"><gnm:Style Format=\"");
        sink.Put(decimals <= kMostDecimals ? FormatCode(decimals) : std::string("General"));
        sink.Put("\"/></gnm:StyleRegion>\n");
    };
    // Calls `cell(row, column, field)` with row and column counted from the
    // document's first.
    const auto visit = [this](auto&& cell) {
        std::size_t row = 0;
        text::VisitFields(
            text_, first_, last_,
            [&](std::size_t column, std::string_view field) {
                cell(row, column - layout_.firstColumn, field);
                return true;
            },
            [&row] { ++row; });
    };
    const std::size_t columns = layout_.lastColumn - layout_.firstColumn + 1;
    sink.Put(kGnumericStart);
    sink.Put(std::to_string(columns));
    sink.Put("\" Rows=\"");
    sink.Put(std::to_string(layout_.rows));
    sink.Put("\" BaseCol=\"0\" BaseRow=\"0\">\n<gnm:Styles>\n");
    const bool anyNumber = layout_.decimalCounts != 0;
    // Only when some number is formatted otherwise than the first is the
    // selection read once more for their cells.
    const bool othersDiffer =
        anyNumber && layout_.decimalCounts != DecimalsBit(layout_.firstDecimals);
    if (anyNumber) {
        putRegion(0, 0, layout_.rows - 1, columns - 1, layout_.firstDecimals);
    }
    if (othersDiffer) {
        visit([&](std::size_t row, std::size_t column, std::string_view field) {
            if (const auto number = NumberIn(field);
                number.has_value() && number->decimals != layout_.firstDecimals) {
                putRegion(row, column, row, column, number->decimals);
            }
        });
    }
    sink.Put("</gnm:Styles>\n<gnm:Cells>\n");
    visit([&sink](std::size_t row, std::size_t column, std::string_view field) {
        const auto number = NumberIn(field);
        if (!number.has_value() && IsPadding(field)) {
            return;
        }
        sink.Put("<gnm:Cell Row=\"");
        sink.Put(std::to_string(row));
        sink.Put("\" Col=\"");
        sink.Put(std::to_string(column));
        if (number.has_value()) {
            sink.Put(R"(" ValueType="40">)");
            sink.Put(number->text);
        } else {
            sink.Put(R"(" ValueType="60">)");
            PutText(sink, field);
        }
        sink.Put("</gnm:Cell>\n");
    });
    sink.Put("</gnm:Cells>\n</gnm:ClipboardRange>\n");
}

template <typename Sink>
void SpreadsheetTable::Emit(Sink& sink) const {
    if (format_ == SpreadsheetFormat::Html) {
        EmitHtml(sink);
    } else {
        EmitGnumeric(sink);
    }
}

std::optional<SpreadsheetTable> SpreadsheetTable::Of(std::string_view text, std::size_t first,
                                                     std::size_t last, SpreadsheetFormat format,
                                                     char decimalMark) {
    last = std::min(last, text.size());
    first = std::min(first, last);
    Layout layout;
    if (Survey(text, first, last, std::string_view::npos, layout) < 2) {
        return std::nullopt;
    }
    SpreadsheetTable table(text, first, last, format, decimalMark);
    table.layout_ = layout;
    Counter counter;
    table.Emit(counter);
    table.length_ = counter.Length();
    table.fragmentStart_ = counter.FragmentStart();
    table.fragmentEnd_ = counter.FragmentEnd();
    return table;
}

bool SpreadsheetTable::Covers(std::string_view text, std::size_t first, std::size_t last,
                              SpreadsheetFormat format) {
    last = std::min(last, text.size());
    first = std::min(first, last);
    if (format == SpreadsheetFormat::Html) {
        // Counts line breaks only as far as the limit: a copy of the whole
        // largest table stays a matter of microseconds.
        std::size_t lines = 0;
        for (std::size_t at = text.find('\n', first); at < last && lines <= kMostHtmlLines;
             at = text.find('\n', at + 1)) {
            ++lines;
        }
        if (lines > kMostHtmlLines) {
            return false;
        }
    }
    Layout layout;
    return Survey(text, first, last, 2, layout) == 2;
}

void SpreadsheetTable::WriteTo(char* out) const {
    Writer writer(out);
    Emit(writer);
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
