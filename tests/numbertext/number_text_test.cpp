#include "framework/numbertext/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <variant>

#include <QStringDecoder>
#include <QStringEncoder>

#include "framework/encoding/text_encoding.h"

namespace wertomat {
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

TEST(TextEncoding, EveryByteAsQtsCodecReadsAndWritesIt) {
    QStringDecoder decoder("windows-1252");
    QStringEncoder encoder("windows-1252");
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const QString qt = decoder(QByteArrayView(&byte, 1));
        ASSERT_EQ(qt.size(), 1) << value;
        EXPECT_EQ(Windows1252ToUnicode(static_cast<unsigned char>(value)), qt[0].unicode())
            << value;
        const QByteArray back = encoder(qt);
        EXPECT_EQ(UnicodeToWindows1252(qt[0].unicode()), static_cast<unsigned char>(back[0]))
            << value;
    }
    EXPECT_EQ(Windows1252ToUtf8("f\xFCr gr\xF6\xDF\x65r \xE4 \x80"), "für größer ä €");
}

TEST(TextEncoding, CharactersWithoutAByteAreRefusedNotDropped) {
    EXPECT_EQ(Utf16ToWindows1252(u"2\u00B3 \u20AC"), "2\xB3 \x80");
    for (const char16_t* text : {u"2\u202E51", u"1\u3164000", u"5\u200B", u"\uFEFF1", u"\u0394"}) {
        EXPECT_EQ(Utf16ToWindows1252(text), std::nullopt);
    }
}

}  // namespace
}  // namespace wertomat
