// The companion's CSV conversion and its echo of arguments, as units.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tools/csv_rows.h"
#include "tools/printable.h"

namespace tools {
namespace {

constexpr std::string_view kTable =
    "x\ty\r\n"
    "  -10.0000\t  533.0000\r\n"
    "   -9.5000\t  459.7875\r\n";

TEST(CsvRows, ChunksCutAnywhereGiveTheSameRows) {
    const std::string whole(CsvRows({',', ';'}).Take(kTable));
    EXPECT_EQ(whole, "x;y\r\n-10,0000;533,0000\r\n-9,5000;459,7875\r\n");
    for (std::size_t cut = 0; cut <= kTable.size(); ++cut) {
        CsvRows rows({',', ';'});
        std::string pieces(rows.Take(kTable.substr(0, cut)));
        pieces += rows.Take(kTable.substr(cut));
        EXPECT_EQ(pieces, whole) << "cut at " << cut;
    }
}

TEST(CsvRows, EmptyFieldsKeepTheirSeparators) {
    EXPECT_EQ(CsvRows({'.', ','}).Take("a\t\t 1.5\n\tb\n"), "a,,1.5\r\n,b\r\n");
}

struct Echo {
    const char* name;
    std::string_view argument;
    std::string_view shown;
};
constexpr Echo kEchoes[] = {
    {"PlainTextAndUmlautsStay", "0,5 f\xC3\xBCr", "0,5 f\xC3\xBCr"},
    {"TerminalEscapesAreWrittenOut", "1\x1B[31m", "1\\x1B[31m"},
    {"BidirectionalOverridesAreWrittenOut",
     "1\xE2\x80\xAE"
     "2",
     "1\\xE2\\x80\\xAE2"},
    {"BytesThatAreNotUtf8AreWrittenOut",
     "\xFF"
     "1",
     "\\xFF1"},
    {"LongArgumentsEndAfterFortyBytes", "1234567890123456789012345678901234567890123",
     "1234567890123456789012345678901234567890\xE2\x80\xA6"},
};

class Printable : public testing::TestWithParam<Echo> {};

TEST_P(Printable, ShowsWhatIsSafeOnATerminal) {
    EXPECT_EQ(tools::Printable(GetParam().argument), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Arguments, Printable, testing::ValuesIn(kEchoes),
                         [](const testing::TestParamInfo<Echo>& echo) {
                             return std::string(echo.param.name);
                         });

}  // namespace
}  // namespace tools
