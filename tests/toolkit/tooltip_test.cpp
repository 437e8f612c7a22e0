#include "toolkit/tooltip.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/painting.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/button.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kBalloon = RGB(51, 51, 51), kWhite = RGB(255, 255, 255);

// The size of a line in the tooltip's font.
SIZE LineSize(const wchar_t* line) {
    HDC dc = GetDC(nullptr);
    toolkit::OwnedGdiObject font(CreateUiFont(L"Arial", 14, 1, 1));
    SIZE size{0, 0};
    {
        toolkit::SelectedObject selected(dc, font.get());
        GetTextExtentPoint32W(dc, line, int(std::wcslen(line)), &size);
    }
    ReleaseDC(nullptr, dc);
    return size;
}

// A button 120 x 37 at (20, 20) of the parent (so at (120, 120) on the screen) to explain.
class ToolTipTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        anchor = CreateButtonEx(parent, L"Power", 7, 20, 20, 120, 37);
        ASSERT_NE(anchor, nullptr);
        SetActiveWindow(parent);
        PumpMessages();
    }
    HWND Show(const wchar_t* text) {
        HWND tip = ShowToolTipEx(parent, anchor, text);
        PumpMessages();
        return tip;
    }

    HWND anchor = nullptr;
};

TEST_F(ToolTipTest, FitsItsTextAndStandsCentredBelowTheAnchor) {
    const struct {
        const wchar_t* text;
        const wchar_t* longest;
        int lines;
    } cases[] = {
        {L"Power", L"Power", 1},
        {L"Start recording\nnow", L"Start recording", 2},
        {L"a\nlonger second line\nc", L"longer second line", 3},
    };
    for (const auto& c : cases) {
        HWND tip = Show(c.text);
        ASSERT_NE(tip, nullptr);
        const SIZE line = LineSize(c.longest);
        RECT placed;
        GetWindowRect(tip, &placed);
        const int width = placed.right - placed.left;
        EXPECT_EQ(width, line.cx + 18) << c.lines;
        EXPECT_EQ(placed.bottom - placed.top, c.lines * line.cy + 23) << c.lines;
        EXPECT_EQ(placed.left, 120 + (120 - line.cx) / 2 - 9) << c.lines;
        EXPECT_EQ(placed.top, 157 + 3) << c.lines;

        // The arrow's tip at the balloon's own centre, widening by a pixel each side per row.
        const int centre = width / 2;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(tip, shape), RGN_ERROR);
        EXPECT_TRUE(PtInRegion(shape, centre, 0));
        EXPECT_FALSE(PtInRegion(shape, centre - 1, 0));
        EXPECT_FALSE(PtInRegion(shape, centre + 1, 0));
        EXPECT_TRUE(PtInRegion(shape, centre - 4, 4));
        EXPECT_TRUE(PtInRegion(shape, centre + 4, 4));
        EXPECT_FALSE(PtInRegion(shape, centre + 5, 4));
        EXPECT_TRUE(PtInRegion(shape, 0, 5));
        EXPECT_TRUE(PtInRegion(shape, width - 1, placed.bottom - placed.top - 1));
        DeleteObject(shape);

        EXPECT_EQ(ReadPixel(tip, 3, 8), kBalloon);
        EXPECT_GT(CountPixels(tip, RECT{9, 14, width, placed.bottom - placed.top}, kWhite), 20);
        DestroyWindow(tip);
    }
}

TEST_F(ToolTipTest, ShowsOnTopWithoutTakingTheActivation) {
    HWND tip = Show(L"Power");
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(GetActiveWindow(), parent);
    EXPECT_EQ(TopLevelWindows().front(), tip);
    EXPECT_EQ(GetParent(tip), parent);
    wchar_t text[8] = L"x";
    EXPECT_EQ(GetWindowTextW(tip, text, 8), 0) << "the text lives in the tooltip's object";
    DestroyWindow(tip);
}

TEST_F(ToolTipTest, AClickRaisesTheOwnerAndLeavesTheBalloonWhereItIs) {
    HWND tip = Show(L"Power");
    HWND cover = CreateWindowExW(0, L"KestrovaToolkitSpy", L"", WS_POPUP | WS_VISIBLE, 50, 50, 600, 500,
                                 nullptr, 0, nullptr, nullptr);
    PumpMessages();
    RECT before, after;
    GetWindowRect(tip, &before);
    for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
        BringWindowToTop(cover);
        ClickAt(tip, POINT{10, 12}, button);
        const std::vector<HWND> order = TopLevelWindows();
        ASSERT_GE(order.size(), 3u);
        EXPECT_EQ(order[0], tip);
        EXPECT_EQ(order[1], parent);
    }
    GetWindowRect(tip, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    DestroyWindow(cover);
    DestroyWindow(tip);
}

}  // namespace
}  // namespace kestrova::uitest
