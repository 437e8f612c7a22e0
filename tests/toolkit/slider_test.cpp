#include "toolkit/slider.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/painting.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace kestrova::uitest {
namespace {

using Notices = std::vector<std::string>;

// The test thumb skin's rows, and the colours the slider paints with.
constexpr COLORREF kThumbNormal = RGB(0, 90, 160), kThumbDragging = RGB(160, 90, 0),
                   kThumbDisabled = RGB(128, 128, 128);
constexpr COLORREF kPlainThumb = RGB(196, 196, 196), kGroove = RGB(222, 222, 222);
constexpr COLORREF kLevelColours[] = {RGB(77, 111, 170), RGB(116, 170, 38), RGB(209, 72, 54)};

// How many times the cursor has been hidden more than shown.
int CursorHidden() {
    const int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return -(count - 1);
}

// A 201 x 21 slider at (20, 20) of the parent, range 0..10: ticks every 18 pixels from x = 10.
class SliderTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        slider = CreateSliderEx(parent, 9, 20, 20, 201, 21, 0, 10);
        ASSERT_NE(slider, nullptr);
        PumpMessages();
    }
    LRESULT Set(UINT property, LPARAM value) {
        return SendMessageW(slider, property, kPropertySetAndRepaint, value);
    }
    LRESULT Get(UINT property, LPARAM which = 0) {
        return SendMessageW(slider, property, kPropertyRead, which);
    }
    static int Tick(int value) { return 10 + 18 * value; }
    // Where the thumb of that colour stands: the middle of its columns on row 6; -1 when it is not there.
    int ThumbAt(COLORREF colour) {
        PumpMessages();
        int first = -1, last = -1;
        for (int x = 0; x < 201; ++x) {
            if (ReadPixel(slider, x, 6) != colour) continue;
            if (first < 0) first = x;
            last = x;
        }
        return first < 0 ? -1 : (first + last) / 2;
    }
    POINT CursorInClient() {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(slider, &cursor);
        return cursor;
    }

    HWND slider = nullptr;
};

TEST_F(SliderTest, ADragHidesTheCursorSnapsToTicksAndReportsOnceOnRelease) {
    Set(kSliderThumbBitmap, kSliderThumbSkin);
    Set(kSliderValue, 3);
    const int hiddenBefore = CursorHidden();

    MoveTo(slider, POINT{150, 15});
    PressMouse();
    EXPECT_EQ(CursorHidden(), hiddenBefore + 1);
    EXPECT_EQ(GetCapture(), slider);
    EXPECT_EQ(CursorInClient().x, Tick(3)) << "the cursor is put on the thumb";
    EXPECT_EQ(CursorInClient().y, 10);
    EXPECT_EQ(Get(kSliderValue), 3) << "pressing does not move the thumb";
    EXPECT_EQ(ThumbAt(kThumbDragging), Tick(3));

    MoveTo(slider, POINT{Tick(7) + 5, 10});
    EXPECT_EQ(Get(kSliderValue), 7);
    EXPECT_EQ(ThumbAt(kThumbDragging), Tick(7)) << "the thumb snaps to the tick";
    EXPECT_EQ(CountPixels(slider, RECT{Tick(3), 0, Tick(3) + 1, 4}, kLevelColours[0]), 4)
        << "the drag's start is marked";
    MoveTo(slider, POINT{Tick(8) - 9, 10});  // between the zones of 7 and 8
    EXPECT_EQ(Get(kSliderValue), 7);
    EXPECT_TRUE(HeardFrom(slider).empty()) << "nothing is sent while dragging";

    ReleaseMouse();
    EXPECT_EQ(HeardFrom(slider), (Notices{"command"}));
    EXPECT_EQ(Get(kSliderValue), 7);
    EXPECT_EQ(CursorHidden(), hiddenBefore);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CursorInClient().x, Tick(7)) << "the cursor comes back on the thumb";
    EXPECT_EQ(ThumbAt(kThumbNormal), Tick(7));
    EXPECT_EQ(CountPixels(slider, RECT{Tick(3), 0, Tick(3) + 1, 4}, kLevelColours[0]), 0);
}

TEST_F(SliderTest, APressWithoutMovingReportsTheUnchangedValue) {
    Set(kSliderValue, 4);
    ClickAt(slider, POINT{190, 10});
    EXPECT_EQ(HeardFrom(slider), (Notices{"command"}));
    EXPECT_EQ(Get(kSliderValue), 4);
    EXPECT_EQ(ThumbAt(kPlainThumb), Tick(4));
}

TEST_F(SliderTest, DraggingPastTheEndsKeepsTheCursorAtTheSlidersEdgeAndTakesTheEndValue) {
    Set(kSliderValue, 5);
    MoveTo(slider, POINT{Tick(5), 10});
    PressMouse();
    MoveTo(slider, POINT{-60, 40});
    EXPECT_EQ(Get(kSliderValue), 0);
    EXPECT_EQ(CursorInClient().x, 0);
    EXPECT_EQ(CursorInClient().y, 0);
    MoveTo(slider, POINT{300, 10});
    EXPECT_EQ(Get(kSliderValue), 10);
    EXPECT_EQ(CursorInClient().x, 200);
    ReleaseMouse();
    EXPECT_EQ(HeardFrom(slider), (Notices{"command"}));
}

TEST_F(SliderTest, ALostCaptureShowsTheCursorAgainAndSendsNothing) {
    const int hiddenBefore = CursorHidden();
    MoveTo(slider, POINT{Tick(2), 10});
    PressMouse();
    MoveTo(slider, POINT{Tick(6), 10});
    SetCapture(parent);  // another window takes the mouse in the middle of the drag
    PumpMessages();
    EXPECT_EQ(CursorHidden(), hiddenBefore);
    ReleaseMouse();
    EXPECT_TRUE(HeardFrom(slider).empty());
    EXPECT_EQ(CursorHidden(), hiddenBefore) << "shown once, not twice";
    ReleaseCapture();

    MoveTo(slider, POINT{Tick(2), 10});
    PressMouse();
    DestroyWindow(slider);  // gone in the middle of a drag
    ReleaseMouse();
    EXPECT_EQ(CursorHidden(), hiddenBefore);
}

TEST_F(SliderTest, TheRangeMustSpanTwoValuesAndCutsTheMaximumTo100) {
    Set(kSliderValue, 8);
    EXPECT_EQ(Set(kSliderRange, MAKELPARAM(4, 4)), MAKELPARAM(0, 10)) << "refused, the old range stays";
    EXPECT_EQ(Set(kSliderRange, MAKELPARAM(6, 2)), MAKELPARAM(0, 10));
    EXPECT_EQ(Set(kSliderRange, MAKELPARAM(120, 300)), MAKELPARAM(0, 10)) << "120..100 is empty";
    EXPECT_EQ(Set(kSliderRange, MAKELPARAM(0, 300)), MAKELPARAM(0, 100));
    EXPECT_EQ(Set(kSliderRange, MAKELPARAM(2, 5)), MAKELPARAM(2, 5));
    EXPECT_EQ(Get(kSliderValue), 5) << "the value is kept within the new range";
    EXPECT_EQ(Set(kSliderValue, 1), 2);
    EXPECT_EQ(ThumbAt(kPlainThumb), 10) << "the minimum's tick is the first";

    HWND refused = CreateSliderEx(parent, 10, 20, 60, 201, 21, 3, 3);
    EXPECT_EQ(SendMessageW(refused, kSliderRange, kPropertyRead, 0), MAKELPARAM(0, 1));
}

TEST_F(SliderTest, ValuesAndLevelsAreClampedAndTheSelectorPicksLevelOrColour) {
    EXPECT_EQ(Set(kSliderValue, 12), 10);
    EXPECT_EQ(Set(kSliderValue, -3), 0);
    EXPECT_EQ(Set(kSliderLevel, MAKELPARAM(0, 6)), 6);
    EXPECT_EQ(Set(kSliderLevel, MAKELPARAM(1, 7)), 2);
    EXPECT_EQ(Set(kSliderLevel, MAKELPARAM(0, 40)), 10);
    EXPECT_EQ(Get(kSliderLevel, 0), 10);
    EXPECT_EQ(Get(kSliderLevel, 1), 2);
    EXPECT_EQ(Set(kSliderThumbBitmap, 5473), 5473);
}

TEST_F(SliderTest, TheLevelBarReachesTheLevelsTickInTheLevelsColour) {
    const struct {
        int level, colour, barEnd;  // the bar covers [10, barEnd) of the groove's rows 10 and 11
    } cases[] = {
        {0, 0, 10},  // no bar
        {4, 0, Tick(4)},
        {7, 1, Tick(7)},
        {10, 2, Tick(10) + 1},  // full: the last tick's column too
    };
    // The thumb at 0 covers the groove up to x = 14; the bar is counted from there.
    for (const auto& c : cases) {
        Set(kSliderLevel, MAKELPARAM(1, c.colour));
        Set(kSliderLevel, MAKELPARAM(0, c.level));
        PumpMessages();
        const COLORREF colour = kLevelColours[c.colour];
        EXPECT_EQ(CountPixels(slider, RECT{15, 10, 201, 12}, colour), 2 * std::max(0, c.barEnd - 15))
            << "level " << c.level;
        EXPECT_NE(ReadPixel(slider, c.barEnd, 10), colour) << "level " << c.level;
    }
}

TEST_F(SliderTest, TheThumbShowsTheDisabledState) {
    Set(kSliderThumbBitmap, kSliderThumbSkin);
    Set(kSliderValue, 2);
    EnableWindow(slider, FALSE);
    PumpMessages();
    EXPECT_EQ(ThumbAt(kThumbDisabled), Tick(2));
    EnableWindow(slider, TRUE);
    PumpMessages();
    EXPECT_EQ(ThumbAt(kThumbNormal), Tick(2));
}

}  // namespace
}  // namespace kestrova::uitest
