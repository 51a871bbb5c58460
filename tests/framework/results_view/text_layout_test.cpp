// The layout both results views draw from: steps across line breaks, the
// hit test's midpoint, tabs, and the line index of a large text, which is
// built by two threads, against a plain scan.
#include "framework/results_view/text_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace framework {
namespace {

constexpr int kAdvance = 10;  // every printable byte
constexpr int kTabStop = 56;

TextLayout LaidOut(std::string_view text) {
    TextLayout layout;
    TextLayout::Advances advances{};
    advances.fill(kAdvance);
    layout.SetMetrics(advances, kTabStop);
    layout.SetText(text);
    return layout;
}

TEST(TextLayout, ALineBreakIsOneStepAndACarriageReturnAloneIsACharacter) {
    const std::string text = "ab\r\ncd\ne\rf";
    const TextLayout layout = LaidOut(text);
    ASSERT_EQ(layout.LineCount(), 3u);
    EXPECT_EQ(layout.LineEnd(0), 2u);  // before CR LF
    EXPECT_EQ(layout.LineEnd(1), 6u);  // before LF
    EXPECT_EQ(layout.LineEnd(2), text.size());
    const std::vector<std::size_t> forward = {1, 2, 4, 5, 6, 7, 8, 9, 10, 10};
    std::size_t offset = 0;
    for (const std::size_t expected : forward) {
        offset = layout.StepForward(offset);
        EXPECT_EQ(offset, expected);
    }
    const std::vector<std::size_t> back = {9, 8, 7, 6, 5, 4, 2, 1, 0, 0};
    for (const std::size_t expected : back) {
        offset = layout.StepBack(offset);
        EXPECT_EQ(offset, expected);
    }
}

// A screen reader's text has one line feed per break; every offset maps to a
// character and back, an offset inside a CR LF to the break.
TEST(TextLayout, ScreenReadersSeeEachBreakAsOneLineFeed) {
    const std::string text = "ab\r\ncd\ne\rf\r\n";
    const TextLayout layout = LaidOut(text);
    EXPECT_EQ(layout.CharacterCount(), 10u);
    EXPECT_EQ(layout.CharacterText(0, layout.CharacterCount()), "ab\ncd\ne\rf\n");
    EXPECT_EQ(layout.CharacterText(2, 5), "\ncd");
    const std::vector<std::size_t> characters = {0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 9, 10};
    for (std::size_t offset = 0; offset <= text.size(); ++offset) {
        EXPECT_EQ(layout.CharacterAt(offset), characters[offset]) << offset;
    }
    const std::vector<std::size_t> offsets = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 12, 12};
    for (std::size_t character = 0; character < offsets.size(); ++character) {
        EXPECT_EQ(layout.OffsetOfCharacter(character), offsets[character]) << character;
    }
}

TEST(TextLayout, AHitGoesToTheNearerBoundaryAndTheMidpointToTheRight) {
    const TextLayout layout = LaidOut("abc\r\nx");
    const std::pair<int, std::size_t> hits[] = {
        {-5, 0}, {0, 0}, {4, 0}, {5, 1}, {14, 1}, {15, 2}, {29, 3}, {500, 3},
    };
    for (const auto& [x, offset] : hits) {
        EXPECT_EQ(layout.OffsetAtX(0, x), offset) << x;
    }
    EXPECT_EQ(layout.OffsetAtX(1, 500), 6u);  // the last line, without a break
}

TEST(TextLayout, ATabGoesToTheNextStopThatLeavesASpace) {
    // Five bytes end at 50, six short of the stop at 56: less than a space,
    // so the tab goes on to 112. Four bytes end at 40 and tab to 56.
    const TextLayout layout = LaidOut("abcde\tx\nabcd\ty\n\tz");
    EXPECT_EQ(layout.XOf(0, 6), 2 * kTabStop);
    EXPECT_EQ(layout.XOf(1, 13), kTabStop);
    EXPECT_EQ(layout.XOf(2, 16), kTabStop);
    EXPECT_EQ(layout.Widest(), 2 * kTabStop + kAdvance);
    EXPECT_EQ(layout.OffsetAtX(0, 60), 5u);  // inside the tab's first half
    EXPECT_EQ(layout.OffsetAtX(0, 90), 6u);  // its second half
}

// Lines of many lengths, CR LF and LF, a tab now and then, more than a
// megabyte: the index is built in two halves.
TEST(TextLayout, TheIndexOfALargeTextIsThatOfAPlainScan) {
    std::string text;
    for (std::size_t line = 0; text.size() < (3u << 19); ++line) {
        text.append(line % 97, static_cast<char>('a' + line % 26));
        if (line % 7 == 0) {
            text += '\t';
        }
        text += line % 3 == 0 ? "\r\n" : "\n";
    }
    text += "last";
    const TextLayout layout = LaidOut(text);

    std::vector<std::size_t> starts = {0};
    int widest = 0;
    int x = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            starts.push_back(i + 1);
            widest = std::max(widest, x);
            x = 0;
        } else if (text[i] == '\t') {
            x += kTabStop - x % kTabStop < kAdvance ? 2 * kTabStop - x % kTabStop
                                                    : kTabStop - x % kTabStop;
        } else if (text[i] != '\r') {
            x += kAdvance;
        }
    }
    widest = std::max(widest, x);

    ASSERT_EQ(layout.LineCount(), starts.size());
    for (std::size_t line = 0; line < starts.size(); ++line) {
        ASSERT_EQ(layout.LineStart(line), starts[line]) << line;
    }
    EXPECT_EQ(layout.Widest(), widest);
    EXPECT_EQ(
        layout.LineOf(text.size() / 2),
        static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), text.size() / 2) -
                                 starts.begin() - 1));
}

}  // namespace
}  // namespace framework
