#include "platform/ui/button.h"

#include <gtest/gtest.h>

#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

class ButtonTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        parent = &Make("parent", nullptr, WS_POPUP, RECT{0, 0, 300, 200});
        button = CreateWindowExW(0, L"BUTTON", L"Apply", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                 50, 50, 100, 30, parent->hwnd, 42, nullptr, nullptr);
        ASSERT_NE(button, nullptr);
        PumpMessages();  // painted
    }

    // The WM_COMMANDs the parent got: the id and the notification of each.
    std::vector<std::pair<int, int>> Commands() {
        std::vector<std::pair<int, int>> got;
        for (const LoggedMessage& m : log)
            if (m.window == "parent" && m.message == WM_COMMAND) {
                EXPECT_EQ(HWND(m.lParam), button);
                got.emplace_back(LOWORD(m.wParam), HIWORD(m.wParam));
            }
        log.clear();
        return got;
    }

    TestWindow* parent = nullptr;
    HWND button = nullptr;
};

TEST_F(ButtonTest, AClickInsideOrSpaceAndEnterPressIt) {
    const std::vector<std::pair<int, int>> clicked{{42, BN_CLICKED}};
    Click(POINT{100, 65});
    EXPECT_EQ(Commands(), clicked);
    EXPECT_EQ(GetFocus(), button);  // a click also gives it the focus
    PressKey(VK_SPACE);
    EXPECT_EQ(Commands(), clicked);
    PressKey(VK_RETURN);
    EXPECT_EQ(Commands(), clicked);
    PressKey(VK_ESCAPE);  // the dialog's to handle, not the button's
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ButtonTest, ReleasedOutsideThePressIsTakenBackAndShowsPressedOnlyMeanwhile) {
    const COLORREF up = ReadPixel(button, 5, 5);
    MoveMouse(POINT{100, 65});
    PressMouse();
    EXPECT_NE(ReadPixel(button, 5, 5), up);  // pressed
    MoveMouse(POINT{250, 150});
    EXPECT_EQ(ReadPixel(button, 5, 5), up);  // dragged off: shown up again
    ReleaseMouse();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace kestrova::uitest
