#include "text/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <variant>

#include "text/text_encoding.h"

namespace text {
namespace {

TEST(NumberTextParse, AcceptedForms) {
    struct Case {
        const char* text;
        double value;
    };
    for (const Case& c :
         {Case{"0", 0.0}, Case{"2", 2.0}, Case{"0.1", 0.1}, Case{"0,1", 0.1}, Case{"-0,5", -0.5},
          Case{"+3", 3.0}, Case{"  7  ", 7.0}, Case{"\t-2.5\t", -2.5}, Case{".5", 0.5},
          Case{",5", 0.5}, Case{"5.", 5.0}, Case{"1e3", 1000.0}, Case{"1E-3", 0.001},
          Case{"1,5e+2", 150.0}, Case{"-0", -0.0}, Case{"007", 7.0},
          Case{"1.7976931348623157e308", std::numeric_limits<double>::max()},
          Case{"4.9e-324", std::numeric_limits<double>::denorm_min()},
          // A pasted number often brings its line break along.
          Case{"5\n", 5.0}, Case{"5\r\n", 5.0}, Case{"\r\n-5 \n", -5.0}}) {
        const std::optional<double> parsed = ParseNumber(c.text);
        ASSERT_TRUE(parsed.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*parsed, c.value) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(*parsed), std::signbit(c.value)) << '"' << c.text << '"';
    }
}

TEST(NumberTextParse, RejectedForms) {
    for (const char* text :
         {"",      " ",      "abc",    "1a",    "a1",       "1 2",      "1,5,0",  "1.000,5",
          "--1",   "+-1",    "-",      ".",     ",",        "e5",       "1e",     "1e+",
          "1e5.5", "nan",    "NaN",    "inf",   "-inf",     "infinity", "0x10",   "0x1p3",
          "1e309", "-1e400", "1e-400", "1 000", "\xC2\xB3", "1\n2",     "1\r\n2", "１"}) {
        EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
    }
}

// Out of range is said as such, whichever way the number is written.
TEST(NumberTextParse, OutOfRangeIsToldFromNotANumber) {
    const std::string zeros(400, '0');
    const std::pair<std::string, NumberRefusal> cases[] = {
        {"1e309", NumberRefusal::TooLarge},
        {"-1e309", NumberRefusal::TooLarge},
        {"1" + zeros, NumberRefusal::TooLarge},
        {"1e99999", NumberRefusal::TooLarge},
        {"1e-400", NumberRefusal::TooSmall},
        {"-2,5e-330", NumberRefusal::TooSmall},
        {"0." + zeros + "1", NumberRefusal::TooSmall},
        {"1e-99999", NumberRefusal::TooSmall},
        {"1e30x", NumberRefusal::NotANumber},
        {"inf", NumberRefusal::NotANumber},
    };
    for (const auto& [text, refusal] : cases) {
        const std::variant<double, NumberRefusal> reading = ReadNumber(text);
        ASSERT_TRUE(std::holds_alternative<NumberRefusal>(reading)) << text;
        EXPECT_EQ(std::get<NumberRefusal>(reading), refusal) << text;
    }
}

TEST(NumberTextFormat, ShortestGeneralStyle) {
    EXPECT_EQ(FormatNumber(0.0), "0");
    EXPECT_EQ(FormatNumber(0.1), "0.1");
    EXPECT_EQ(FormatNumber(2.0), "2");
    EXPECT_EQ(FormatNumber(-0.5), "-0.5");
    EXPECT_EQ(FormatNumber(1e21), "1e+21");
    EXPECT_EQ(FormatNumber(123456.0), "123456");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
}

TEST(NumberTextFormat, EveryDoubleReadsBackExactly) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 200'000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (!std::isfinite(value)) {
            continue;
        }
        const std::optional<double> back = ParseNumber(FormatNumber(value));
        ASSERT_TRUE(back.has_value()) << FormatNumber(value);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(value))
            << FormatNumber(value);
    }
}

// Windows-1252 as the code page's published table has it: Latin-1 except for
// 0x80 to 0x9F. Its five unassigned bytes stand for the C1 controls of the
// same value, as the platform's MultiByteToWideChar reads them.
TEST(TextEncoding, EveryByteAsThePublishedCodePageHasIt) {
    const std::pair<unsigned char, char16_t> differing[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E},
        {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030},
        {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018}, {0x92, 0x2019}, {0x93, 0x201C},
        {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x98, 0x02DC},
        {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
        {0x9E, 0x017E}, {0x9F, 0x0178}};
    std::u16string published;
    for (int value = 0; value < 256; ++value) {
        published += static_cast<char16_t>(value);
    }
    for (const auto& [byte, character] : differing) {
        published[byte] = character;
    }
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        EXPECT_EQ(Windows1252ToUnicode(byte), published[byte]) << value;
        EXPECT_EQ(UnicodeToWindows1252(published[byte]), byte) << value;
    }
    // Latin-1's own C1 controls have no byte where the code page puts a letter.
    EXPECT_EQ(UnicodeToWindows1252(u'\u0080'), std::nullopt);
    EXPECT_EQ(UnicodeToWindows1252(u'\u009F'), std::nullopt);
    EXPECT_EQ(Windows1252ToUtf8("f\xFCr gr\xF6\xDF\x65r \xE4 \x80"), "für größer ä €");
}

TEST(TextEncoding, CharactersWithoutAByteAreRefusedNotDropped) {
    EXPECT_EQ(Utf16ToWindows1252(u"2\u00B3 \u20AC"), "2\xB3 \x80");
    for (const char16_t* text : {u"2\u202E51", u"1\u3164000", u"5\u200B", u"\uFEFF1", u"\u0394"}) {
        EXPECT_EQ(Utf16ToWindows1252(text), std::nullopt);
    }
}

}  // namespace
}  // namespace text
