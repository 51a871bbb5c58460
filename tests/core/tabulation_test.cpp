#include "core/tabulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace wertomat {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::vector<std::string> Rows(const std::string& table) {
    std::vector<std::string> rows;
    std::size_t begin = 0;
    while (begin < table.size()) {
        const std::size_t end = table.find("\r\n", begin);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line has no CR LF";
            break;
        }
        rows.push_back(table.substr(begin, end - begin));
        begin = end + 2;
    }
    return rows;
}

std::string Table(TabulationRequest request) {
    const TabulationOutcome outcome = RunTabulation(request);
    EXPECT_TRUE(outcome.succeeded) << outcome.text;
    return outcome.text;
}

void ExpectRefused(TabulationRequest request, TabulationRefusal refusal) {
    const TabulationOutcome outcome = RunTabulation(request);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.text.empty());
    EXPECT_EQ(outcome.refusal, refusal) << "start " << request.start << " step " << request.step
                                        << " end " << request.end << " kind " << request.kind;
}

TEST(TabulationTable, DefaultsGiveTwentyOneRowsFromZeroToTwo) {
    const std::string table = Table({0.0, 0.1, 2.0, 0});
    const std::vector<std::string> rows = Rows(table);
    ASSERT_EQ(rows.size(), 22u);
    EXPECT_EQ(rows[0], "x\ty");
    EXPECT_EQ(rows[1], "    0.0000\t   -5.0000");
    EXPECT_EQ(rows[2], "    0.1000\t   -4.6280");
    EXPECT_EQ(rows[3], "    0.2000\t   -4.3040");
    EXPECT_EQ(rows[21], "    2.0000\t    7.0000");
    EXPECT_EQ(table.substr(table.size() - 4), "00\r\n");  // no trailing blank line
}

TEST(TabulationTable, EachPolynomialOverTheDefaultRange) {
    std::vector<std::string> rows = Rows(Table({0.0, 0.1, 2.0, 1}));
    EXPECT_EQ(rows.back(), "    2.0000\t   21.0000");
    rows = Rows(Table({0.0, 0.1, 2.0, 2}));
    EXPECT_EQ(rows[1], "    0.0000\t   33.0000");
    EXPECT_EQ(rows[2], "    0.1000\t   33.4035");
    EXPECT_EQ(rows.back(), "    2.0000\t   38.6000");
    rows = Rows(Table({0.0, 1.0, 3.0, 0}));
    EXPECT_EQ(rows,
              (std::vector<std::string>{"x\ty", "    0.0000\t   -5.0000", "    1.0000\t   -2.0000",
                                        "    2.0000\t    7.0000", "    3.0000\t   34.0000"}));
}

TEST(TabulationTable, StepThatDoesNotDivideTheRangeStopsBeforeTheEnd) {
    const std::vector<std::string> rows = Rows(Table({0.0, 0.3, 1.0, 0}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows.back().substr(0, 10), "    0.9000");
}

TEST(TabulationTable, FallingRangeAccumulatesToANegativeZero) {
    const std::vector<std::string> rows = Rows(Table({2.0, -0.1, 0.0, 0}));
    ASSERT_EQ(rows.size(), 22u);
    EXPECT_EQ(rows[1], "    2.0000\t    7.0000");
    EXPECT_EQ(rows.back(), "   -0.0000\t   -5.0000");
}

TEST(TabulationTable, LongNumbersPushTheTabRight) {
    const std::vector<std::string> rows = Rows(Table({-1234567.891, 1e6, 0.0, 0}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(0, rows[1].find('\t')), "-1234567.8910");
}

TEST(TabulationTable, OverflowingValuesPrintAsInfinity) {
    const std::vector<std::string> rows = Rows(Table({1e155, 1e155, 2e155, 2}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].substr(rows[1].find('\t') + 1), "      -inf");
}

// The run written the plain way: snprintf per row, no caps.
std::string ReferenceTable(const TabulationRequest& r) {
    std::string text = "x\ty\r\n";
    const double limit = r.end + r.step * 0.1;
    char row[700];
    for (double x = r.start; r.step < 0 ? x > limit : x < limit; x += r.step) {
        std::snprintf(row, sizeof row, "%10.4f\t%10.4f\r\n", x, Evaluate(r.kind, x));
        text += row;
    }
    return text;
}

TEST(TabulationTable, SameAsThePlainPrintfLoopForRandomRequests) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> position(-1000.0, 1000.0);
    std::uniform_real_distribution<double> rows(1.0, 400.0);
    for (int i = 0; i < 3000; ++i) {
        TabulationRequest request;
        request.start = position(random);
        request.end =
            random() % 4 == 0 ? request.start + position(random) * 1e-3 : position(random);
        request.step = (request.end - request.start) / rows(random);
        request.kind = static_cast<FunctionKind>(random() % 3);
        if (request.step == 0.0) {
            continue;
        }
        const TabulationOutcome outcome = RunTabulation(request);
        ASSERT_TRUE(outcome.succeeded) << outcome.text;
        ASSERT_EQ(outcome.text, ReferenceTable(request))
            << "start " << request.start << " step " << request.step << " end " << request.end;
        ASSERT_EQ(outcome.rows, static_cast<std::size_t>(
                                    std::count(outcome.text.begin(), outcome.text.end(), '\n')) -
                                    1);
    }
}

TEST(TabulationRefusal, RangeChecksInTheirOrder) {
    // Equal ends come first, whatever the step.
    for (const double step : {0.0, -1.0, 1.0, kNaN}) {
        ExpectRefused({1.0, step, 1.0, 0}, TabulationRefusal::EqualStartAndEnd);
    }
    ExpectRefused({kInfinity, 1.0, kInfinity, 0}, TabulationRefusal::EqualStartAndEnd);
    for (const double step : {0.0, -0.0, -1.0}) {
        ExpectRefused({0.0, step, 1.0, 0}, TabulationRefusal::RisingRangeNeedsPositiveStep);
    }
    for (const double step : {0.0, 0.5}) {
        ExpectRefused({1.0, step, 0.0, 0}, TabulationRefusal::FallingRangeNeedsNegativeStep);
    }
    // A wrong step sign is reported before a wrong polynomial.
    ExpectRefused({0.0, -1.0, 1.0, 7}, TabulationRefusal::RisingRangeNeedsPositiveStep);
}

TEST(TabulationRefusal, UnknownPolynomialGivesNoTable) {
    for (const FunctionKind kind : {3, -1, std::numeric_limits<FunctionKind>::min()}) {
        ExpectRefused({0.0, 0.1, 2.0, kind}, TabulationRefusal::UnknownFunction);
    }
}

TEST(TabulationRefusal, NonFiniteValuesAreRefusedInsteadOfAnEmptyTable) {
    ExpectRefused({kNaN, 0.1, 2.0, 0}, TabulationRefusal::NotFinite);
    ExpectRefused({0.0, 0.1, kNaN, 0}, TabulationRefusal::NotFinite);
    ExpectRefused({0.0, kNaN, 2.0, 0}, TabulationRefusal::NotFinite);
    ExpectRefused({-kInfinity, 1.0, 0.0, 0}, TabulationRefusal::NotFinite);
    ExpectRefused({0.0, 1.0, kInfinity, 0}, TabulationRefusal::NotFinite);
    ExpectRefused({0.0, kInfinity, 1.0, 0}, TabulationRefusal::NotFinite);
}

TEST(TabulationBounds, LargestAllowedTableIsComplete) {
    const TabulationOutcome outcome = RunTabulation({0.0, 0.000001, 1.0, 0});
    ASSERT_TRUE(outcome.succeeded) << outcome.text;
    EXPECT_EQ(static_cast<std::size_t>(std::count(outcome.text.begin(), outcome.text.end(), '\n')),
              kMaximumRowCount + 1);
    EXPECT_EQ(outcome.rows, kMaximumRowCount);
    EXPECT_EQ(outcome.text.substr(outcome.text.size() - 23), "    1.0000\t   -2.0000\r\n");
}

TEST(TabulationBounds, TooManyRowsAreRefused) {
    // Foreseeable up front ...
    ExpectRefused({0.0, 1e-300, 1.0, 0}, TabulationRefusal::TooManyRows);
    ExpectRefused({0.0, 0.000000001, 1.0, 0}, TabulationRefusal::TooManyRows);
    ExpectRefused({-1e308, 1e-308, 1e308, 0}, TabulationRefusal::TooManyRows);
    // ... and one row beyond the cap, caught by the loop itself.
    ExpectRefused({0.0, 0.000001, 1.000001, 0}, TabulationRefusal::TooManyRows);
}

TEST(TabulationBounds, StepRoundedUpByTheSpacingOfDoublesStillFits) {
    // Near 2^53 doubles are 2 apart: x + 1.5 rounds to x + 2, so the table has
    // 800,000 rows (62 MB) although range / step is 1,066,667.
    const double start = 9007199254740992.0;
    const TabulationRequest request{start, 1.5, start + 1'600'000.0, 0};
    const TabulationOutcome outcome = RunTabulation(request);
    ASSERT_TRUE(outcome.succeeded) << outcome.text;
    EXPECT_EQ(outcome.text, ReferenceTable(request));
    EXPECT_EQ(std::count(outcome.text.begin(), outcome.text.end(), '\n'), 800'001);
}

TEST(TabulationBounds, StepTooSmallToMoveXIsRefused) {
    // 1e20 + 1 == 1e20: the plain loop would never end.
    ExpectRefused({1e20, 1.0, 1e20 + 1e6, 0}, TabulationRefusal::TooManyRows);
    ExpectRefused({1e20 + 1e6, -1.0, 1e20, 0}, TabulationRefusal::TooManyRows);
}

TEST(TabulationBounds, TextBeyondTheSizeLimitIsRefused) {
    // About 400 characters a row at x near 1e100: 200,000 rows exceed 64 MiB.
    ExpectRefused({1e100, 1e94, 1.2e100, 0}, TabulationRefusal::TableTooLong);
    // 161,500 long rows: within the row limit, so the message names the text's.
    ExpectRefused({1e100, 1e95, 2.615e100, 0}, TabulationRefusal::TableTooLong);
}

TEST(TabulationBounds, HugeStepsNearTheLargestDoubleStillWork) {
    const double largest = std::numeric_limits<double>::max();
    const std::vector<std::string> rows = Rows(Table({0.0, largest / 2, largest, 0}));
    EXPECT_EQ(rows.size(), 4u);  // 0, max/2, max; the limit itself overflows
    const std::vector<std::string> wide = Rows(Table({-1e308, 1e308, 1e308, 1}));
    EXPECT_EQ(wide.size(), 4u);
}

// Large tables are written by one thread or two; each case runs both ways,
// whatever the machine's cores, and must give the same bytes.
class TabulationThreads : public testing::TestWithParam<Threads> {};

TEST_P(TabulationThreads, StreamGivesTheSameBytesAsTheOneStringRunOrNothingAtAll) {
    const TabulationRequest requests[] = {
        {0.0, 0.1, 2.0, 0},         {2.0, -0.1, 0.0, 2},          {-1234567.891, 1e6, 2e6, 1},
        {1e155, 1e154, 1.5e155, 2}, {0.0, 0.000001, 1.0, 0},  // crosses many chunks
        {0.0, 0.0, 1.0, 0},         {0.0, 1.0, 3.0, 3},           {1e100, 1e94, 1.2e100, 0},
        {-5000.0, 0.1, 5000.0, 1},  {0.0, 0.000001, 1.000001, 0}, {1e20, 1.0, 1e20 + 1e6, 0}};
    for (const TabulationRequest& request : requests) {
        std::string streamed;
        std::size_t writes = 0;
        const StreamOutcome stream = StreamTabulation(
            request,
            [&](std::string_view chunk) {
                streamed += chunk;
                ++writes;
                return true;
            },
            GetParam());
        const TabulationOutcome whole = RunTabulation(request, Threads::One);
        SCOPED_TRACE(testing::Message() << request.start << " " << request.step << " "
                                        << request.end << " " << request.kind);
        if (whole.succeeded) {
            EXPECT_EQ(stream.result, StreamResult::Written);
            EXPECT_EQ(streamed, whole.text);
        } else {
            EXPECT_EQ(stream.result, StreamResult::Refused);
            EXPECT_EQ(stream.refusal, whole.refusal);
            EXPECT_EQ(writes, 0u);
        }
    }
}

TEST_P(TabulationThreads, LargeTablesOfVaryingWidthAreWholeAndInOrder) {
    // Rows from 10 to 18 characters a column: with two threads written in
    // halves, the second moved down to meet the first.
    for (const TabulationRequest request : {TabulationRequest{-5000.0, 0.1, 5000.0, 0},
                                            TabulationRequest{5000.0, -0.1, -5000.0, 2}}) {
        EXPECT_TRUE(RunTabulation(request, GetParam()).text == ReferenceTable(request));
    }
}

TEST_P(TabulationThreads, AFailedWriteStopsTheRun) {
    std::size_t writes = 0;
    const StreamOutcome stream = StreamTabulation(
        {0.0, 0.000001, 1.0, 0},
        [&](std::string_view) {
            ++writes;
            return false;
        },
        GetParam());
    EXPECT_EQ(stream.result, StreamResult::WriteFailed);
    EXPECT_EQ(writes, 1u);
}

std::string ThreadsName(const testing::TestParamInfo<Threads>& threads) {
    return threads.param == Threads::One ? "OneThread" : "TwoThreads";
}

INSTANTIATE_TEST_SUITE_P(Tabulation, TabulationThreads, testing::Values(Threads::One, Threads::Two),
                         ThreadsName);

}  // namespace
}  // namespace wertomat
