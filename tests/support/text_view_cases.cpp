#include "tests/support/text_view_cases.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/tabulation.h"

namespace text_view_cases {
namespace {

constexpr Table kDefaults{0, 0.1, 2};           // 21 rows
constexpr Table kLongRows{1e100, 1e95, 2e100};  // rows of about 415 characters
constexpr Table kThousand{0, 0.001, 1};         // 1,001 rows
constexpr Table kTouching{-20, 5, 20};          // x texts end just before a tab stop

Offset At(std::size_t offset) {
    return [offset](const Facts&) { return offset; };
}
Offset LineStart(std::size_t line, std::size_t column = 0) {
    return [=](const Facts& f) { return f.LineStart(line) + column; };
}
Offset LineEnd(std::size_t line) {
    return [=](const Facts& f) { return f.LineEnd(line); };
}
Offset TextEnd() {
    return [](const Facts& f) { return f.text.size(); };
}
Offset LastPage() {
    return [](const Facts& f) { return f.lastFirstLine; };
}

Keystroke Shift(Key key) {
    return {key, true, false};
}
Keystroke Control(Key key) {
    return {key, false, true};
}

void Give(const Input& input, Target& target) {
    const framework::TextViewModel& model = target.Model();
    const auto on = [&model](std::size_t offset) {
        const framework::ViewPoint corner = model.PointOf(offset);
        return framework::ViewPoint{corner.x + 1, corner.y + model.LineHeight() / 2};
    };
    std::visit(
        [&](const auto& event) {
            using Event = std::decay_t<decltype(event)>;
            if constexpr (std::is_same_v<Event, Keystroke>) {
                target.Press(event);
            } else if constexpr (std::is_same_v<Event, Click>) {
                target.MouseDown(on(event.offset), event.shift);
                target.MouseUp(on(event.offset));
            } else if constexpr (std::is_same_v<Event, DoubleClick>) {
                target.MouseDoubleClick(on(event.offset));
            } else if constexpr (std::is_same_v<Event, DragBelow>) {
                const framework::ViewPoint below{on(event.from).x,
                                                 model.ViewHeight() + event.pixelsBelow};
                target.MouseDown(on(event.from), false);
                target.MouseMove(below);
                target.WaitUntil([&model] { return model.Caret() == model.Text().size(); });
                target.MouseUp(below);
            } else if constexpr (std::is_same_v<Event, DragRight>) {
                const framework::ViewPoint right{model.ViewWidth() + event.pixelsRight,
                                                 on(event.from).y};
                const std::size_t lineEnd =
                    model.Layout().LineEnd(model.Layout().LineOf(event.from));
                target.MouseDown(on(event.from), false);
                target.MouseMove(right);
                target.WaitUntil([&model, lineEnd] { return model.Caret() == lineEnd; });
                target.MouseUp(right);
            } else {
                target.MoveFocus(event.in);
            }
        },
        input);
}

}  // namespace

std::string TableText(const Table& table) {
    return wertomat::RunTabulation({table.xa, table.xsw, table.xe, 0}).text;
}

std::size_t Facts::LineStart(std::size_t line) const {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < line; ++i) {
        offset = text.find('\n', offset) + 1;
    }
    return offset;
}

std::size_t Facts::LineEnd(std::size_t line) const {
    const std::size_t end = std::min(text.find('\n', LineStart(line)), text.size());
    return end > 0 && text[end - 1] == '\r' ? end - 1 : end;
}

const std::vector<Case>& AllCases() {
    static const std::vector<Case> cases = {
        {"ShiftDownSelectsTheFirstLine", kDefaults, {Shift(Key::Down)}, At(0), LineStart(1), At(0)},
        {"UpAndDownKeepTheColumnAcrossAShortLine",
         kDefaults,
         {Keystroke{Key::Down}, Keystroke{Key::End}, Keystroke{Key::Up}, Keystroke{Key::Down}},
         LineEnd(1),
         LineEnd(1),
         At(0)},
        {"LeftAtALineStartGoesToTheEndOfTheLineAbove",
         kDefaults,
         {Keystroke{Key::Down}, Keystroke{Key::Left}},
         LineEnd(0),
         LineEnd(0),
         At(0)},
        // Unlike the platform's edit, no stop at a line's end or before its padding.
        {"ControlRightMovesToTheNextNumberAcrossLineBreaks",
         kDefaults,
         {Control(Key::Right), Control(Key::Right), Control(Key::Right), Control(Key::Right)},
         LineStart(2, 4),
         LineStart(2, 4),
         At(0)},
        {"ControlLeftMovesToTheWordStart",
         kDefaults,
         {Keystroke{Key::Down}, Keystroke{Key::End}, Control(Key::Left)},
         LineStart(1, 14),
         LineStart(1, 14),
         At(0)},
        {"DoubleClickSelectsANumber",
         kDefaults,
         {DoubleClick{21}},
         LineStart(1, 14),
         LineStart(1, 21),
         At(0)},
        {"ShiftClickExtendsFromTheCaret",
         kDefaults,
         {Click{2}, Click{12, true}},
         At(2),
         At(12),
         At(0)},
        {"ControlASelectsAllWithoutScrolling",
         kThousand,
         {Control(Key::A)},
         At(0),
         TextEnd(),
         At(0)},
        {"ControlEndGoesToTheEndAndScrolls",
         kThousand,
         {Control(Key::A), Control(Key::End)},
         TextEnd(),
         TextEnd(),
         LastPage()},
        {"PageUpFromTheEndMovesBackAPage",
         kThousand,
         {Control(Key::End), Keystroke{Key::PageUp}},
         [](const Facts& f) { return f.LineStart(f.lineCount - 1 - f.visibleLines); },
         [](const Facts& f) { return f.LineStart(f.lineCount - 1 - f.visibleLines); },
         [](const Facts& f) { return f.lastFirstLine - f.visibleLines; }},
        {"ControlHomeFromTheEndGoesBackToTheStart",
         kThousand,
         {Control(Key::End), Control(Key::Home)},
         At(0),
         At(0),
         At(0)},
        {"PageDownMovesTheViewAndTheCaretByAPage",
         kThousand,
         {Keystroke{Key::PageDown}},
         [](const Facts& f) { return f.LineStart(f.visibleLines); },
         [](const Facts& f) { return f.LineStart(f.visibleLines); },
         [](const Facts& f) { return f.visibleLines; }},
        {"EndOnALongRowBringsItsEndIntoView",
         kLongRows,
         {Keystroke{Key::Down}, Keystroke{Key::End}},
         LineEnd(1),
         LineEnd(1),
         At(0),
         true},
        {"ShiftEndOnALongRowSelectsItAndShowsItsEnd",
         kLongRows,
         {Keystroke{Key::Down}, Shift(Key::End)},
         LineStart(1),
         LineEnd(1),
         At(0),
         true},
        {"HomeComesBackToTheLeft",
         kLongRows,
         {Keystroke{Key::Down}, Keystroke{Key::End}, Keystroke{Key::Home}},
         LineStart(1),
         LineStart(1),
         At(0),
         false},
        {"SelectionIsHiddenWhileTheFocusIsElsewhere",
         kDefaults,
         {Control(Key::A), Focus{false}},
         At(0),
         TextEnd(),
         At(0),
         std::nullopt,
         false},
        {"SelectionIsShownAgainWhenTheFocusReturns",
         kDefaults,
         {Control(Key::A), Focus{false}, Focus{true}},
         At(0),
         TextEnd(),
         At(0)},
        {"DragHeldBelowReachesTheLastLine",
         kThousand,
         {DragBelow{0, 150}},
         At(0),
         TextEnd(),
         LastPage()},
        {"DragHeldRightReachesTheLineEnd",
         kLongRows,
         {DragRight{5, 60}},
         LineStart(1),
         LineEnd(1),
         At(0),
         true},
        {"ColumnsOfNegativeTensStayApart",
         kTouching,
         {Keystroke{Key::Down}},
         LineStart(1),
         LineStart(1),
         At(0)},
    };
    return cases;
}

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

void Check(const Case& c, Target& target) {
    target.Show(TableText(c.table));
    for (const Input& input : c.inputs) {
        Give(input, target);
    }
    const framework::TextViewModel& model = target.Model();
    const framework::TextLayout& layout = model.Layout();
    const auto [height, lineHeight] = target.PagePixels();
    const auto page = static_cast<std::size_t>(std::max(1, height / lineHeight));
    const std::size_t lines = layout.LineCount();
    const Facts facts{model.Text(), lines, page, lines > page ? lines - page : 0};
    EXPECT_EQ(model.Anchor(), c.anchor(facts));
    EXPECT_EQ(model.Caret(), c.caret(facts));
    EXPECT_EQ(model.FirstVisibleLine(), c.firstLine(facts));
    if (c.scrolledAcross) {
        EXPECT_EQ(model.ScrollX() > 0, *c.scrolledAcross);
    }
    EXPECT_EQ(model.SelectionShown(), c.selectionShown);

    // The caret is in view, unless the view was scrolled away from it.
    const std::size_t caretLine = layout.LineOf(model.Caret());
    if (caretLine >= model.FirstVisibleLine() &&
        caretLine < model.FirstVisibleLine() + model.VisibleLineCount()) {
        const int x = model.PointOf(model.Caret()).x;
        EXPECT_GE(x, 0);
        EXPECT_LT(x, model.ViewWidth());
    } else {
        EXPECT_EQ(c.firstLine(facts), model.FirstVisibleLine()) << "caret out of view";
    }
    // Every column starts at least a space's width after the one before.
    const int space = layout.ByteAdvances()[' '];
    for (std::size_t line = 0; line < layout.LineCount(); ++line) {
        const std::size_t tab = model.Text().find('\t', layout.LineStart(line));
        if (tab < layout.LineEnd(line)) {
            ASSERT_GE(layout.XOf(line, tab + 1) - layout.XOf(line, tab), space) << "line " << line;
        }
    }
}

}  // namespace text_view_cases
