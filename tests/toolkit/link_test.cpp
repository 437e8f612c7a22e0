#include "toolkit/link.h"

#include <gtest/gtest.h>

#include "tests/toolkit/skin_colours.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace kestrova::uitest {
namespace {

using Notices = std::vector<std::string>;
constexpr COLORREF kLinkColour = RGB(0, 77, 133), kDisabledText = RGB(169, 169, 169);

class LinkTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        link = CreateLinkEx(parent, L"Open storage folder", 1047, 37, 59, 509, 14, 5476);
        ASSERT_NE(link, nullptr);
        PumpMessages();
    }
    int Pixels(COLORREF colour) {
        const SIZE size = ClientSize(link);
        return CountPixels(link, RECT{0, 0, size.cx, size.cy}, colour);
    }
    COLORREF Icon() { return ReadPixel(link, 7, ClientSize(link).cy / 2); }

    HWND link = nullptr;
};

TEST_F(LinkTest, ItFitsItsTextAndIconAndIsUnderlinedOnlyWhileTheCursorIsOverIt) {
    const SIZE text = Measured(L"Open storage folder");
    EXPECT_EQ(ClientSize(link).cx, text.cx + 20);
    EXPECT_EQ(ClientSize(link).cy, std::max<int>(text.cy + 2, 14));
    EXPECT_EQ(Icon(), kLinkIcon[0]);
    const int plain = Pixels(kLinkColour);
    EXPECT_GT(plain, 50);

    MoveTo(link, POINT{40, 7});
    EXPECT_EQ(Icon(), kLinkIcon[1]);
    EXPECT_GE(Pixels(kLinkColour), plain + text.cx / 2);  // the underline
    MoveTo(parent, POINT{390, 290});
    AdvanceClock(clock, 10);
    EXPECT_EQ(Icon(), kLinkIcon[0]);
    EXPECT_EQ(Pixels(kLinkColour), plain);
    EXPECT_TRUE(HeardFrom(link).empty());
}

TEST_F(LinkTest, APressSendsTheCommandAtOnceAndLeavesTheFocusWhereItWas) {
    SetFocus(parent);
    MoveTo(link, POINT{40, 7});
    PressMouse();
    EXPECT_EQ(HeardFrom(link), Notices{"command"});
    ReleaseMouse();
    EXPECT_TRUE(HeardFrom(link).empty());
    EXPECT_EQ(GetFocus(), parent);
}

TEST_F(LinkTest, ADisabledLinkIsGreyAndSendsNothing) {
    EnableWindow(link, FALSE);
    EXPECT_EQ(Icon(), kLinkIcon[2]);
    EXPECT_GT(Pixels(kDisabledText), 50);
    EXPECT_EQ(Pixels(kLinkColour), 0);
    ClickAt(link, POINT{40, 7});
    EXPECT_TRUE(HeardFrom(link).empty());
}

TEST_F(LinkTest, ALinkWithoutAnIconStartsItsTextAtTheLeftEdge) {
    HWND plain = CreateLinkEx(parent, L"Help", 1048, 37, 100, 0, 0, 0);
    PumpMessages();
    EXPECT_EQ(ClientSize(plain).cx, Measured(L"Help").cx);
    EXPECT_GT(CountPixels(plain, RECT{0, 0, 4, ClientSize(plain).cy}, kLinkColour), 0);
}

}  // namespace
}  // namespace kestrova::uitest
