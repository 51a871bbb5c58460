// One table of cases for the results view: keys, clicks and drags in; caret,
// selection and scrolling out. The same table runs against the model alone
// and against each platform's real view, so that the platforms cannot drift.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "framework/results_view/text_view_model.h"

namespace text_view_cases {

enum class Key { Left, Right, Up, Down, PageDown, Home, End, A, PageUp };
struct Keystroke {
    Key key;
    bool shift = false;
    bool control = false;
};
struct Click {  // on the character at `offset`
    std::size_t offset;
    bool shift = false;
};
struct DoubleClick {
    std::size_t offset;
};
// Pressed on `from`, moved `pixelsBelow` under the view and held there.
struct DragBelow {
    std::size_t from;
    int pixelsBelow;
};
// Pressed on `from`, moved `pixelsRight` beyond the view's right edge and
// held there until the caret reaches the end of its line.
struct DragRight {
    std::size_t from;
    int pixelsRight;
};
struct Focus {
    bool in;  // false: to another control; true: back, without a click
};
using Input = std::variant<Keystroke, Click, DoubleClick, DragBelow, DragRight, Focus>;

// What an expectation may depend on besides the text: the platform's metrics.
struct Facts {
    std::string_view text;
    std::size_t lineCount;
    std::size_t visibleLines;
    std::size_t lastFirstLine;
    std::size_t LineStart(std::size_t line) const;
    std::size_t LineEnd(std::size_t line) const;  // before the line break
};
using Offset = std::function<std::size_t(const Facts&)>;

struct Table {
    double xa;
    double xsw;
    double xe;
};

// The dialog's table for `table`, with the first polynomial.
std::string TableText(const Table& table);

struct Case {
    Case(std::string name_, const Table& table_, std::vector<Input> inputs_, Offset anchor_,
         Offset caret_, Offset firstLine_, std::optional<bool> scrolledAcross_ = std::nullopt,
         bool selectionShown_ = true)
        : name(std::move(name_)),
          table(table_),
          inputs(std::move(inputs_)),
          anchor(std::move(anchor_)),
          caret(std::move(caret_)),
          firstLine(std::move(firstLine_)),
          scrolledAcross(scrolledAcross_),
          selectionShown(selectionShown_) {}

    std::string name;
    Table table;
    std::vector<Input> inputs;
    Offset anchor;
    Offset caret;
    Offset firstLine;                    // the first visible line
    std::optional<bool> scrolledAcross;  // unchecked when empty
    bool selectionShown;
};
const std::vector<Case>& AllCases();
void PrintTo(const Case& c, std::ostream* out);  // its name, in failure messages
// The case's name, for INSTANTIATE_TEST_SUITE_P.
std::string CaseName(const testing::TestParamInfo<Case>& param);

// A results view under test: the model it shows, and the platform's events.
class Target {
public:
    virtual ~Target() = default;
    // Shows `text` with the focus in the view.
    virtual void Show(const std::string& text) = 0;
    virtual const framework::TextViewModel& Model() const = 0;
    // The text area's height and a line's height in pixels, as the platform
    // measures them (not the model): a page is the whole lines that fit.
    virtual std::pair<int, int> PagePixels() const = 0;
    virtual void Press(Keystroke keystroke) = 0;
    virtual void MouseDown(framework::ViewPoint point, bool shift) = 0;
    virtual void MouseMove(framework::ViewPoint point) = 0;
    virtual void MouseUp(framework::ViewPoint point) = 0;
    virtual void MouseDoubleClick(framework::ViewPoint point) = 0;
    virtual void MoveFocus(bool in) = 0;
    // Lets time pass, with the platform's timers running, until `done` or a
    // generous limit.
    virtual void WaitUntil(const std::function<bool()>& done) = 0;
};

// Shows the case's table, gives the inputs and checks the outcome, with the
// rules that hold after any input: the caret in view, columns apart.
void Check(const Case& c, Target& target);

}  // namespace text_view_cases
