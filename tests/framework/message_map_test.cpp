#include <gtest/gtest.h>

#include <vector>

#include "framework/dialog.h"

namespace {

// A base that handles paint and one command, and a derived class that
// overrides the command and adds a system-command handler.
class BaseWindow : public CWnd {
public:
    std::vector<const char*> calls;

    void OnPaint() { calls.push_back("base paint"); }
    void OnCommand7() { calls.push_back("base command 7"); }
    void OnCommand8() { calls.push_back("base command 8"); }

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

private:
    static const framework::MessageMapEntry messageEntries[];
};

const framework::MessageMapEntry BaseWindow::messageEntries[] = {
    framework::PaintEntry<&BaseWindow::OnPaint>(),
    framework::ButtonClickedEntry<7, &BaseWindow::OnCommand7>(),
    framework::ButtonClickedEntry<8, &BaseWindow::OnCommand8>(),
};
const framework::MessageMap BaseWindow::messageMap{&CWnd::messageMap, BaseWindow::messageEntries};

class DerivedWindow : public BaseWindow {
public:
    UINT lastSystemCommand = 0;
    LPARAM lastParameter = 0;

    void OnCommand7() { calls.push_back("derived command 7"); }
    void OnSysCommand(UINT nID, LPARAM lParam) {
        lastSystemCommand = nID;
        lastParameter = lParam;
    }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(this); }

    const framework::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const framework::MessageMap messageMap;

private:
    static const framework::MessageMapEntry messageEntries[];
};

const framework::MessageMapEntry DerivedWindow::messageEntries[] = {
    framework::ButtonClickedEntry<7, &DerivedWindow::OnCommand7>(),
    framework::SysCommandEntry<&DerivedWindow::OnSysCommand>(),
    framework::QueryDragIconEntry<&DerivedWindow::OnQueryDragIcon>(),
};
const framework::MessageMap DerivedWindow::messageMap{&BaseWindow::messageMap,
                                                      DerivedWindow::messageEntries};

TEST(MessageMap, OwnEntryWinsOverTheBaseAndUnknownGoesToTheBase) {
    DerivedWindow window;
    window.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);
    window.SendMessage(WM_PAINT);
    EXPECT_EQ(window.calls,
              (std::vector<const char*>{"derived command 7", "base command 8", "base paint"}));
}

TEST(MessageMap, CommandsMatchIdAndNotificationCode) {
    DerivedWindow window;
    window.SendMessage(WM_COMMAND, MAKEWPARAM(9, BN_CLICKED), 0);  // nobody's
    window.SendMessage(WM_COMMAND, MAKEWPARAM(7, 1), 0);           // another notification
    EXPECT_TRUE(window.calls.empty());
}

TEST(MessageMap, HandlersGetTheirParametersAndResults) {
    DerivedWindow window;
    window.SendMessage(WM_SYSCOMMAND, 0xF061, 42);
    EXPECT_EQ(window.lastSystemCommand, 0xF061u);
    EXPECT_EQ(window.lastParameter, 42);
    EXPECT_EQ(window.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(&window));
}

}  // namespace
