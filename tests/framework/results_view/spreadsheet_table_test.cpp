// The table flavours: which cells a selection covers, numbers as values in
// the C convention (and shown in the user's in HTML), Gnumeric's formats,
// and the Windows header's offsets. What LibreOffice
// and Gnumeric make of it is tests/spreadsheets.
#include "framework/results_view/spreadsheet_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace framework {
namespace {

constexpr std::string_view kTable =
    "x\ty\r\n"
    "  -10.0000\t  533.0000\r\n"
    "   -9.5000\t  459.7875\r\n";

std::string DocumentOf(const SpreadsheetTable& table) {
    std::string document(table.Length(), '\0');
    table.WriteTo(document.data());
    return document;
}

std::string TableOf(std::string_view text, std::size_t first, std::size_t last, char mark = '.') {
    const auto table = SpreadsheetTable::Of(text, first, last, SpreadsheetFormat::Html, mark);
    return table.has_value() ? DocumentOf(*table) : std::string("(text only)");
}

std::string_view Fragment(const std::string& document) {
    const std::size_t start = document.find("<table>");
    return std::string_view(document).substr(start, document.find("</table>") + 8 - start);
}

TEST(SpreadsheetTable, TheWholeTableIsAHeaderOfTextAndRowsOfNumbers) {
    const std::string document = TableOf(kTable, 0, kTable.size(), ',');
    EXPECT_EQ(Fragment(document),
              "<table><tr><td>x</td><td>y</td></tr>\n"
              "<tr><td class=d4 sdval=\"-10.0000\" sdnum=\"1033;0;0.0000\">-10,0000</td>"
              "<td class=d4 sdval=\"533.0000\" sdnum=\"1033;0;0.0000\">533,0000</td></tr>\n"
              "<tr><td class=d4 sdval=\"-9.5000\" sdnum=\"1033;0;0.0000\">-9,5000</td>"
              "<td class=d4 sdval=\"459.7875\" sdnum=\"1033;0;0.0000\">459,7875</td></tr>\n"
              "</table>");
    EXPECT_NE(document.find("td.d4{mso-number-format:\"0\\.0000\"}"), std::string::npos);
}

// Offsets into kTable: line 1 starts at 5, its tab is at 15, its break at
// 26; line 2 starts at 28.
struct Covering {
    const char* name;
    std::size_t first;
    std::size_t last;
    const char* rows;  // each row's cells: value, "T" for text, "_" for empty
};
constexpr Covering kCoverings[] = {
    {"InsideOneNumber", 9, 13, "(text only)"},
    {"OneWholeLineWithoutItsBreak", 5, 26, "-10.0000 533.0000"},
    {"APaddingBlankCoversItsCellEmpty", 14, 17, "0 _"},
    {"CutNumbersAreTheCharactersSelected", 10, 48, ".0000 533.0000|-9.5000 459.787"},
    {"TheTabAloneCoversNothing", 15, 16, "(text only)"},
    {"FromTheSecondFieldOnKeepsTheColumns", 16, 38, "_ 533.0000|-9.5000"},
    {"ALineBreakAloneIsNoRow", 26, 49, "-9.5000 459.7875"},
    {"FromTheHeaderIntoARow", 2, 10, "_ T|-10"},
    {"AMinusAloneIsText", 18, 32, "_ 533.0000|T"},
};

// "v v|v": each row's cells, value of a number, T a text, _ an empty cell.
std::string RowsOf(std::string_view fragment) {
    std::string rows;
    for (std::size_t row = fragment.find("<tr>"); row != std::string_view::npos;
         row = fragment.find("<tr>", row + 1)) {
        rows += rows.empty() ? "" : "|";
        const std::string_view cells = fragment.substr(row, fragment.find("</tr>", row) - row);
        for (std::size_t cell = cells.find("<td"); cell != std::string_view::npos;
             cell = cells.find("<td", cell + 1)) {
            rows += cell == 4 ? "" : " ";
            const std::size_t value = cells.find("sdval=\"", cell);
            if (cells.compare(cell, 9, "<td></td>") == 0) {
                rows += "_";
            } else if (value < cells.find("</td>", cell)) {
                rows += cells.substr(value + 7, cells.find('"', value + 7) - value - 7);
            } else {
                rows += "T";
            }
        }
    }
    return rows;
}

class SpreadsheetTableCovering : public testing::TestWithParam<Covering> {};

TEST_P(SpreadsheetTableCovering, GivesTheCellsItTouches) {
    const Covering& covering = GetParam();
    const std::string document = TableOf(kTable, covering.first, covering.last);
    EXPECT_EQ(document == "(text only)" ? document : RowsOf(Fragment(document)), covering.rows)
        << "selection: \"" << kTable.substr(covering.first, covering.last - covering.first) << "\"";
    for (const SpreadsheetFormat format : {SpreadsheetFormat::Html, SpreadsheetFormat::Gnumeric}) {
        EXPECT_EQ(SpreadsheetTable::Covers(kTable, covering.first, covering.last, format),
                  document != "(text only)");
    }
}

INSTANTIATE_TEST_SUITE_P(Selections, SpreadsheetTableCovering, testing::ValuesIn(kCoverings),
                         [](const testing::TestParamInfo<Covering>& selection) {
                             return std::string(selection.param.name);
                         });

TEST(SpreadsheetTable, TextCellsAreEscapedUtf8) {
    const std::string document = TableOf("F\xFC<r>\t&1.5x\r\n", 0, 12);
    EXPECT_EQ(Fragment(document),
              "<table><tr><td>F\xC3\xBC&lt;r&gt;</td><td>&amp;1.5x</td></tr>\n</table>");
}

TEST(SpreadsheetTable, TheWindowsHeaderCountsFromItsOwnStart) {
    const auto table = SpreadsheetTable::Of(kTable, 0, kTable.size(), SpreadsheetFormat::Html, '.');
    ASSERT_TRUE(table.has_value());
    const std::string clipboard = table->ClipboardHeader() + DocumentOf(*table);
    const auto offset = [&clipboard](std::string_view key) {
        const std::size_t at = clipboard.find(key);
        return at == std::string::npos ? 0
                                       : std::strtoull(&clipboard[at + key.size()], nullptr, 10);
    };
    EXPECT_EQ(clipboard.compare(offset("StartHTML:"), 6, "<html>"), 0);
    EXPECT_EQ(offset("EndHTML:"), clipboard.size());
    EXPECT_EQ(clipboard.substr(offset("StartFragment:"),
                               offset("EndFragment:") - offset("StartFragment:")),
              Fragment(DocumentOf(*table)));
    EXPECT_EQ(clipboard.substr(offset("StartFragment:") - 20, 20), "<!--StartFragment-->");
}

std::string GnumericOf(std::string_view text, std::size_t first, std::size_t last) {
    const auto table = SpreadsheetTable::Of(text, first, last, SpreadsheetFormat::Gnumeric, ',');
    return table.has_value() ? DocumentOf(*table) : std::string("(text only)");
}

TEST(SpreadsheetTable, GnumericGetsValuesInTheCConventionAndOneFormatForMost) {
    EXPECT_EQ(GnumericOf(kTable, 0, kTable.size()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<gnm:ClipboardRange xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\" Cols=\"2\" "
              "Rows=\"3\" BaseCol=\"0\" BaseRow=\"0\">\n"
              "<gnm:Styles>\n"
              "<gnm:StyleRegion startCol=\"0\" startRow=\"0\" endCol=\"1\" endRow=\"2\">"
              "<gnm:Style Format=\"0.0000\"/></gnm:StyleRegion>\n"
              "</gnm:Styles>\n<gnm:Cells>\n"
              "<gnm:Cell Row=\"0\" Col=\"0\" ValueType=\"60\">x</gnm:Cell>\n"
              "<gnm:Cell Row=\"0\" Col=\"1\" ValueType=\"60\">y</gnm:Cell>\n"
              "<gnm:Cell Row=\"1\" Col=\"0\" ValueType=\"40\">-10.0000</gnm:Cell>\n"
              "<gnm:Cell Row=\"1\" Col=\"1\" ValueType=\"40\">533.0000</gnm:Cell>\n"
              "<gnm:Cell Row=\"2\" Col=\"0\" ValueType=\"40\">-9.5000</gnm:Cell>\n"
              "<gnm:Cell Row=\"2\" Col=\"1\" ValueType=\"40\">459.7875</gnm:Cell>\n"
              "</gnm:Cells>\n</gnm:ClipboardRange>\n");
}

TEST(SpreadsheetTable, GnumericCutCellsAreWhatIsSelectedWithTheirOwnFormat) {
    // ".0000\t  533.0000\r\n   -9.5000\t  459.787" from the second column on
    const std::string document = GnumericOf(kTable, 10, 48);
    EXPECT_NE(document.find("Cols=\"2\" Rows=\"2\""), std::string::npos);
    EXPECT_NE(document.find("<gnm:StyleRegion startCol=\"1\" startRow=\"1\" endCol=\"1\" "
                            "endRow=\"1\"><gnm:Style Format=\"0.000\"/>"),
              std::string::npos);
    EXPECT_NE(document.find("Row=\"0\" Col=\"0\" ValueType=\"40\">.0000<"), std::string::npos);
    EXPECT_NE(document.find("Row=\"1\" Col=\"1\" ValueType=\"40\">459.787<"), std::string::npos);
    // Padding alone is no cell: from the first line's second field only
    EXPECT_EQ(GnumericOf(kTable, 16, 38).find("Row=\"0\" Col=\"0\""), std::string::npos);
}

TEST(SpreadsheetTable, HtmlIsLeftOutForMoreLinesThanASpreadsheetTakesLightly) {
    std::string text;
    for (std::size_t line = 0; line < SpreadsheetTable::kMostHtmlLines; ++line) {
        text += "1.0\t2.0\n";
    }
    EXPECT_TRUE(SpreadsheetTable::Covers(text, 0, text.size(), SpreadsheetFormat::Html));
    text += "3.0\t4.0\n";
    EXPECT_FALSE(SpreadsheetTable::Covers(text, 0, text.size(), SpreadsheetFormat::Html));
    EXPECT_TRUE(SpreadsheetTable::Covers(text, 0, text.size(), SpreadsheetFormat::Gnumeric));
}

}  // namespace
}  // namespace framework
