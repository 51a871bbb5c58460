// The results view's model on its own: the shared case table with fixed
// metrics, and what it tells its listeners.
#include "framework/results_view/text_view_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/text_view_cases.h"

namespace {

using text_view_cases::Case;

// A proportional font's proportions: narrow space and punctuation, so that
// "  -20.0000" ends a pixel before the 56-pixel tab stop.
framework::TextLayout::Advances Advances() {
    framework::TextLayout::Advances advances{};
    advances.fill(7);
    advances[' '] = advances['.'] = 3;
    advances['-'] = 4;
    return advances;
}

class ModelTarget : public text_view_cases::Target {
public:
    void Show(const std::string& text) override {
        text_ = text;
        model_.SetMetrics(Advances(), 56, 16);
        model_.SetViewSize(330, 200);
        model_.SetText(text_);
        model_.SetFocused(true);
    }
    const framework::TextViewModel& Model() const override { return model_; }
    std::pair<int, int> PagePixels() const override { return {200, 16}; }
    void Press(text_view_cases::Keystroke keystroke) override {
        using Key = text_view_cases::Key;
        using framework::TextKey;
        static constexpr TextKey kKeys[] = {TextKey::Left, TextKey::Right,    TextKey::Up,
                                            TextKey::Down, TextKey::PageDown, TextKey::Home,
                                            TextKey::End,  TextKey::A,        TextKey::PageUp};
        static_assert(std::size(kKeys) == static_cast<std::size_t>(Key::PageUp) + 1);
        model_.PressKey(kKeys[static_cast<std::size_t>(keystroke.key)],
                        {keystroke.shift, keystroke.control});
    }
    void MouseDown(framework::ViewPoint point, bool shift) override { model_.Press(point, shift); }
    void MouseMove(framework::ViewPoint point) override { model_.DragTo(point); }
    void MouseUp(framework::ViewPoint) override { model_.Release(); }
    void MouseDoubleClick(framework::ViewPoint point) override {
        model_.Press(point, false);
        model_.Release();
        model_.DoubleClick(point);
        model_.Release();
    }
    void MoveFocus(bool in) override { model_.SetFocused(in); }
    void WaitUntil(const std::function<bool()>& done) override {
        for (int tick = 0; tick < 10'000 && !done() && model_.NeedsAutoScroll(); ++tick) {
            model_.AutoScroll();
        }
    }

private:
    std::string text_;
    framework::TextViewModel model_;
};

class TextViewModelCases : public testing::TestWithParam<Case> {};

TEST_P(TextViewModelCases, BehavesAsThePlatformsEdit) {
    ModelTarget target;
    text_view_cases::Check(GetParam(), target);
}

INSTANTIATE_TEST_SUITE_P(Model, TextViewModelCases, testing::ValuesIn(text_view_cases::AllCases()),
                         text_view_cases::CaseName);

struct Recorder : framework::TextViewListener {
    std::vector<framework::TextViewChanges> heard;
    void TextViewChanged(const framework::TextViewChanges& changes) override {
        heard.push_back(changes);
    }
};

// What the accessibility layers announce stands on these.
TEST(TextViewModel, TellsItsListenersWhatChanged) {
    framework::TextViewModel model;
    Recorder recorder;
    model.AddListener(recorder);
    model.SetViewSize(100, 32);  // two lines of 16 pixels
    const std::string text = "a\r\nb\r\nc\r\nd";
    model.SetText(text);
    model.SetText(text);  // the same buffer again: nothing
    model.PressKey(framework::TextKey::Right, {});
    model.PressKey(framework::TextKey::Down, {.shift = true});
    model.PressKey(framework::TextKey::Down, {});
    model.SelectAll();
    model.SelectAll();  // nothing new
    model.RemoveListener(recorder);
    model.PressKey(framework::TextKey::Left, {});

    const auto flags = [](const framework::TextViewChanges& c) {
        return std::string(c.text ? "t" : "") + (c.caret ? "c" : "") + (c.selection ? "s" : "") +
               (c.scroll ? "v" : "") + (c.appearance ? "a" : "");
    };
    std::vector<std::string> heard;
    for (const auto& changes : recorder.heard) {
        heard.push_back(flags(changes));
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"a", "t", "c", "cs", "csv", "cs"}));
}

}  // namespace

namespace {

// A screen reader's word is the stretch a word move crosses: the blanks and
// line breaks after a number go with it, so that a screen reader that speaks
// what a move crossed says each number once and never the padding.
TEST(TextViewModel, ScreenReaderWordsAreTheKeyboardsWords) {
    const std::string text = "x\ty\r\n  -10.0000\t  533.0000\r\n\r\n";
    framework::TextViewModel model;
    model.SetText(text);
    const std::pair<std::size_t, std::string_view> words[] = {
        {0, "x\t"},          {2, "y\r\n  "},           {5, "y\r\n  "},
        {9, "-10.0000\t  "}, {26, "533.0000\r\n\r\n"}, {31, "533.0000\r\n\r\n"},
    };
    for (const auto& [offset, word] : words) {
        const auto [begin, end] = model.WordAt(offset);
        EXPECT_EQ(text.substr(begin, end - begin), word) << offset;
    }
    model.Select(text.size(), text.size(), false);
    for (const std::size_t stop : {18U, 7U, 2U, 0U}) {
        model.PressKey(framework::TextKey::Left, {false, true});
        EXPECT_EQ(model.Caret(), stop);
    }
    for (std::size_t offset = 0; offset <= text.size(); ++offset) {
        const auto [begin, end] = model.WordAt(offset);
        if (begin < end) {
            model.Select(begin, begin, false);
            model.PressKey(framework::TextKey::Right, {false, true});
            EXPECT_EQ(model.Caret(), end) << offset;
        }
    }
}

TEST(TextViewModel, ContextMenuEnablesWhatApplies) {
    framework::TextViewModel model;
    const auto states = [&model] {
        std::vector<bool> enabled;
        for (const framework::ContextMenuEntry& entry : model.ContextMenu()) {
            enabled.push_back(entry.enabled);
        }
        return enabled;
    };
    EXPECT_EQ(states(), (std::vector<bool>{false, false}));  // no text
    const std::string text = "x\ty\r\n";
    model.SetText(text);
    EXPECT_EQ(states(), (std::vector<bool>{false, true}));
    EXPECT_EQ(model.Execute(framework::TextViewCommand::SelectAll), framework::KeyResult::Handled);
    EXPECT_EQ(model.SelectedText(), text);
    EXPECT_EQ(states(), (std::vector<bool>{true, false}));
    EXPECT_EQ(model.Execute(framework::TextViewCommand::Copy), framework::KeyResult::Copy);
}

}  // namespace
