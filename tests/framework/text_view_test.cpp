// The read-only results view: bytes kept, keyboard and mouse selection, copy,
// typing refused, and the dialog keys left to the dialog.
#include "framework/qt/text_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <set>
#include <string>

#include "tests/support/gui_test.h"
#include "tests/support/text_view_cases.h"

namespace {

struct ViewInWindow {
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    framework::TextView* view = new framework::TextView(&window);
    QLineEdit* after = new QLineEdit(&window);

    ViewInWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(view);
        layout->addWidget(after);
        window.resize(300, 300);
        view->setText(std::make_shared<const std::string>(
            "x\ty\r\n    0.0000\t   -5.0000\r\n    0.1000\t   -4.6280\r\n"));
        window.show();
        view->setFocus();
        testing_support::ProcessEvents();
    }
};

TEST(TextView, KeepsTheBytesItWasGiven) {
    framework::TextView view;
    const std::string text = "x\ty\r\nf\xFCr\n\r\nletzte";
    view.setText(std::make_shared<const std::string>(text));
    EXPECT_EQ(view.text(), text);
    EXPECT_EQ(view.model().Layout().LineCount(), 4u);
    view.setText(nullptr);
    EXPECT_EQ(view.model().Layout().LineCount(), 1u);
}

TEST(TextView, LargeTablesLoadWholeAndScrollByLines) {
    std::string table = "x\ty\r\n";
    for (int i = 0; i < 200'000; ++i) {
        table += "    0.0000\t   -5.0000\r\n";
    }
    framework::TextView view;
    view.resize(200, 200);
    view.setText(std::make_shared<const std::string>(table));
    EXPECT_EQ(view.model().Layout().LineCount(), 200'002u);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 199'000);
    // The widest row as the view's font measures it, byte by byte, with the
    // tab to the next stop that leaves a space.
    const QFontMetrics metrics(view.font());
    const auto width = [&metrics](std::string_view text) {
        int sum = 0;
        for (const char c : text) {
            sum += metrics.horizontalAdvance(QLatin1Char(c));
        }
        return sum;
    };
    const int stop = view.model().Layout().TabStop();
    const int before = width("    0.0000");
    const int tab =
        stop - before % stop < width(" ") ? 2 * stop - before % stop : stop - before % stop;
    EXPECT_EQ(view.model().Layout().Widest(), before + tab + width("   -5.0000"));
}

TEST(TextView, KeyboardSelectsAndCopies) {
    ViewInWindow fixture;
    framework::TextView& view = *fixture.view;
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(view.model().SelectedText(), "x\ty");
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);  // keeps the column
    EXPECT_EQ(view.model().SelectedText(), "x\ty\r\n    0.0000");
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(view.model().SelectedText(), "x\ty\r\n    0.0000\t   -5.0000");
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "x\ty\r\n    0.0000\t   -5.0000");

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.model().SelectedText(), view.text());
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(view.model().HasSelection());
}

TEST(TextView, TabMovesOnAndBackKeepingTheCaret) {
    ViewInWindow fixture;
    QTest::keyClick(fixture.view, Qt::Key_Down);
    QTest::keyClick(fixture.view, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), fixture.after);
    QTest::keyClick(fixture.after, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), fixture.view);
    EXPECT_FALSE(fixture.view->model().HasSelection());
    EXPECT_EQ(fixture.view->model().Caret(), 5u);  // where Down left it
}

// A palette whose Window and Base differ, as colour schemes have them: text on
// Base, the selection in Highlight colours, the focus frame in Highlight.
TEST(TextView, PaintsInThePalettesTextFieldColours) {
    ViewInWindow fixture;
    QPalette palette = fixture.window.palette();
    const QColor window(0x40, 0x40, 0x40), base(0xF0, 0xF0, 0xE0), text(0x10, 0x10, 0x80);
    const QColor highlight(0x00, 0xA0, 0x00), highlightedText(0xFF, 0xFF, 0x00);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, highlightedText);
    }
    fixture.window.setPalette(palette);
    framework::TextView& view = *fixture.view;
    view.setFrameShape(QFrame::StyledPanel);
    const auto colours = [&view] {
        const QImage image = view.viewport()->grab().toImage();
        std::set<QRgb> seen;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                seen.insert(image.pixel(x, y) | 0xFF000000u);
            }
        }
        return seen;
    };
    const QPoint frameLeft(0, view.height() / 2);
    std::set<QRgb> seen = colours();
    EXPECT_TRUE(seen.contains(base.rgb()));
    EXPECT_TRUE(seen.contains(text.rgb()));
    EXPECT_FALSE(seen.contains(window.rgb()));
    EXPECT_EQ(view.grab().toImage().pixelColor(frameLeft), highlight);  // focused

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    seen = colours();
    EXPECT_TRUE(seen.contains(highlight.rgb()));
    EXPECT_TRUE(seen.contains(highlightedText.rgb()));

    fixture.after->setFocus();
    testing_support::ProcessEvents();
    EXPECT_NE(view.grab().toImage().pixelColor(frameLeft), highlight);
}

TEST(TextView, EnterAndEscapeAreLeftToTheDialog) {
    ViewInWindow fixture;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(fixture.view, &press);
        EXPECT_FALSE(press.isAccepted()) << key;
    }
}

TEST(TextView, MouseDragAndDoubleClickSelect) {
    ViewInWindow fixture;
    QWidget* area = fixture.view->viewport();
    const int line = QFontMetrics(fixture.view->font()).height();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, line / 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(1, line * 2.5),
                     area->mapToGlobal(QPointF(1, line * 2.5)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(area, &drag);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(1, static_cast<int>(line * 2.5)));
    EXPECT_EQ(fixture.view->model().SelectedText(), "x\ty\r\n    0.0000\t   -5.0000\r\n");

    QTest::mouseDClick(area, Qt::LeftButton, {},
                       QPoint(fixture.view->width() - 40, line + line / 2));
    EXPECT_EQ(fixture.view->model().SelectedText(), "-5.0000");
}

}  // namespace

namespace {

using text_view_cases::Case;

// The Qt view under the shared cases: real key and mouse events.
class QtTarget : public text_view_cases::Target {
public:
    void Show(const std::string& text) override {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(other_);
        layout->addWidget(view_);
        view_->setFixedSize(340, 200);
        view_->setTabStopWidth(48);
        view_->setText(std::make_shared<const std::string>(text));
        window_.show();
        view_->setFocus();
        testing_support::ProcessEvents();
    }
    const framework::TextViewModel& Model() const override { return view_->model(); }
    std::pair<int, int> PagePixels() const override {
        return {view_->viewport()->height(), QFontMetrics(view_->font()).height()};
    }
    void Press(text_view_cases::Keystroke keystroke) override {
        static constexpr Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right,    Qt::Key_Up,
                                            Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Home,
                                            Qt::Key_End,  Qt::Key_A,        Qt::Key_PageUp};
        Qt::KeyboardModifiers modifiers;
        modifiers.setFlag(Qt::ShiftModifier, keystroke.shift);
        modifiers.setFlag(Qt::ControlModifier, keystroke.control);
        QTest::keyClick(view_, kKeys[static_cast<std::size_t>(keystroke.key)], modifiers);
    }
    void MouseDown(framework::ViewPoint point, bool shift) override {
        QTest::mousePress(view_->viewport(), Qt::LeftButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier, {point.x, point.y});
    }
    void MouseMove(framework::ViewPoint point) override {
        const QPointF at(point.x, point.y);
        QMouseEvent move(QEvent::MouseMove, at, view_->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view_->viewport(), &move);
    }
    void MouseUp(framework::ViewPoint point) override {
        QTest::mouseRelease(view_->viewport(), Qt::LeftButton, {}, {point.x, point.y});
    }
    void MouseDoubleClick(framework::ViewPoint point) override {
        QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, {point.x, point.y});
    }
    void MoveFocus(bool in) override {
        (in ? static_cast<QWidget*>(view_) : other_)->setFocus();
        testing_support::ProcessEvents();
    }
    void WaitUntil(const std::function<bool()>& done) override {
        static_cast<void>(QTest::qWaitFor(done, 20'000));
    }

private:
    QWidget window_;
    QLineEdit* other_ = new QLineEdit(&window_);
    framework::TextView* view_ = new framework::TextView(&window_);
};

class QtTextViewCases : public testing::TestWithParam<Case> {};

TEST_P(QtTextViewCases, BehavesAsThePlatformsEdit) {
    QtTarget target;
    text_view_cases::Check(GetParam(), target);
}

INSTANTIATE_TEST_SUITE_P(Qt, QtTextViewCases, testing::ValuesIn(text_view_cases::AllCases()),
                         text_view_cases::CaseName);

}  // namespace
