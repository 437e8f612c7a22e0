#include "toolkit/button.h"

#include <gtest/gtest.h>

#include "platform/ui/painting.h"
#include "tests/toolkit/skin_colours.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace kestrova::uitest {
namespace {

using Notices = std::vector<std::string>;
const Notices kClick{"notify 1", "command"};  // the capture is given back before the click is reported
constexpr COLORREF kDisabledText = RGB(169, 169, 169), kNormalText = RGB(81, 81, 81);

// A 120 x 37 button at (20, 20) of the parent with the nine-slice test skin.
class ButtonTest : public ToolkitTest {
protected:
    void Make(ButtonKind kind, const wchar_t* text = L"Apply", int width = 120, int height = 37) {
        button = CreateButtonEx(parent, text, 7, 20, 20, width, height);
        ASSERT_NE(button, nullptr);
        Set(kButtonKind, kind);
        Set(kButtonBackgroundBitmap, 5463);
        PumpMessages();
    }
    LRESULT Set(UINT property, LPARAM value) { return SendMessageW(button, property, kPropertySet, value); }
    LRESULT Get(UINT property) { return SendMessageW(button, property, kPropertyRead, 0); }
    Notices Told() { return HeardFrom(button); }
    // A pixel of the face left of the text, on the only row of the centre of a 37-pixel-high button.
    COLORREF Face() { return ReadPixel(button, 20, 18); }
    void MoveAway() {
        MoveMouse(POINT{450, 350});
        AdvanceClock(clock, 10);
    }

    HWND button = nullptr;
};

TEST_F(ButtonTest, ACycleButtonStepsThroughItsRangeAndWrapsToTheMinimum) {
    Make(kCycleButton);
    EXPECT_EQ(Set(kButtonRange, MAKELPARAM(0, 3)), MAKELPARAM(0, 3));
    for (int expected : {1, 2, 3, 0, 1}) {
        ClickAt(button, POINT{60, 18});
        EXPECT_EQ(Told(), kClick);
        EXPECT_EQ(Get(kButtonValue), expected);
    }
    Set(kButtonValue, INT32_MAX);  // stored as given; the next click still wraps
    ClickAt(button, POINT{60, 18});
    EXPECT_EQ(Get(kButtonValue), 0);
}

TEST_F(ButtonTest, APushButtonShowsHoverAndPressAndReportsAClickAfterTheLostCapture) {
    Make(kPushButton);
    EXPECT_EQ(Face(), kFaces[0]);
    MoveTo(button, POINT{60, 18});
    EXPECT_EQ(Face(), kFaces[1]);
    PressMouse();
    EXPECT_EQ(Face(), kFaces[2]);
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(GetFocus(), button);
    ReleaseMouse();
    EXPECT_EQ(Told(), kClick);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, APressReleasedOutsideTheHitRectangleSendsOnlyTheLeaveNotice) {
    Make(kPushButton);
    EXPECT_EQ(Set(kButtonHitInset, 5), 5);
    MoveTo(button, POINT{2, 2});  // in the inset band: the button does not react
    PressMouse();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Face(), kFaces[0]);
    ReleaseMouse();

    MoveTo(button, POINT{60, 18});
    PressMouse();
    MoveTo(button, POINT{2, 18});
    AdvanceClock(clock, 10);
    EXPECT_EQ(Face(), kFaces[0]);  // dragged off: shown up again
    MoveTo(button, POINT{60, 18});
    AdvanceClock(clock, 10);
    EXPECT_EQ(Face(), kFaces[2]);
    MoveTo(button, POINT{60, 35});
    AdvanceClock(clock, 10);
    ReleaseMouse();
    for (const std::string& h : Told()) EXPECT_EQ(h, "notify 1");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, ADisabledButtonSendsNothingAndShowsItsFourthRowAndGreyTextAtOnce) {
    Make(kPushButton);
    EnableWindow(button, FALSE);  // painted before any message is handled
    EXPECT_EQ(Face(), kFaces[3]);
    const RECT all{0, 0, 120, 37};
    EXPECT_GT(CountPixels(button, all, kDisabledText), 10);
    EXPECT_EQ(CountPixels(button, all, kNormalText), 0);
    ClickAt(button, POINT{60, 18});
    EXPECT_TRUE(Told().empty());
}

TEST_F(ButtonTest, DisablingDropsAPressInProgress) {
    Make(kPushButton);
    MoveTo(button, POINT{60, 18});
    PressMouse();
    EnableWindow(button, FALSE);
    EXPECT_EQ(GetCapture(), nullptr);
    EnableWindow(button, TRUE);
    PumpMessages();
    EXPECT_EQ(Face(), kFaces[0]);
    ReleaseMouse();
    EXPECT_EQ(Told(), (Notices{"notify 1"}));
}

TEST_F(ButtonTest, TheParentHearsWhenTheCursorRestsOnTheButtonAndWhenItLeaves) {
    Make(kPushButton);
    MoveTo(button, POINT{60, 18});
    AdvanceClock(clock, 190);
    EXPECT_TRUE(Told().empty());
    AdvanceClock(clock, 1);
    EXPECT_EQ(Told(), (Notices{"notify 0"}));
    AdvanceClock(clock, 500);  // once per hover
    EXPECT_TRUE(Told().empty());
    MoveAway();
    EXPECT_EQ(Told(), (Notices{"notify 1"}));
    EXPECT_EQ(Face(), kFaces[0]);
}

TEST_F(ButtonTest, AQuickClickReportsNoRestAfterIt) {
    Make(kPushButton);
    ClickAt(button, POINT{60, 18});
    EXPECT_EQ(Told(), kClick);
    AdvanceClock(clock, 500);
    EXPECT_TRUE(Told().empty());
}

TEST_F(ButtonTest, ACheckButtonShowsOneIconPerStateAndFlipsOnlyWhenItToggles) {
    Make(kCheckButton, L"");
    Set(kButtonIcon1, 5464);
    Set(kButtonIcon2, 5465);
    Set(kButtonIcon1Position, MAKELPARAM(10, 14));
    Set(kButtonIcon2Position, MAKELPARAM(30, 14));  // from the left: a check button's icons do not move
    InvalidateRect(button, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(ReadPixel(button, 12, 16), CycleLeft(0));
    EXPECT_EQ(ReadPixel(button, 32, 16), kTopEdge);  // the skin: no icon 2

    ClickAt(button, POINT{60, 18});
    MoveAway();
    EXPECT_EQ(Told(), (Notices{"notify 1", "command"}));
    EXPECT_EQ(Get(kButtonChecked), 1);
    EXPECT_EQ(ReadPixel(button, 12, 16), kTopLeft);
    EXPECT_EQ(ReadPixel(button, 32, 16), CycleRight(0));

    Set(kButtonToggleOnClick, 0);
    ClickAt(button, POINT{60, 18});
    EXPECT_EQ(Told(), kClick);  // still told
    EXPECT_EQ(Get(kButtonChecked), 1);
}

TEST_F(ButtonTest, ALatchButtonReportsOnlyLatchingAndKeepsTheMouseWhileLatched) {
    Make(kLatchButton);
    ClickAt(button, POINT{60, 18});
    EXPECT_EQ(Told(), (Notices{"command"}));
    EXPECT_EQ(GetCapture(), button);
    ClickAt(parent, POINT{300, 250});  // the latched button has the mouse: a click elsewhere does nothing
    EXPECT_EQ(GetCapture(), button);
    MoveTo(button, POINT{60, 18});
    EXPECT_EQ(Face(), kFaces[2]);
    Told();

    ClickAt(button, POINT{60, 18});
    EXPECT_EQ(Told(), (Notices{"notify 1"}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(Face(), kFaces[2]);
}

TEST_F(ButtonTest, ASpinButtonStepsOnceOnAClickAndRepeatsWhileHeld) {
    Make(kSpinButton, L"");
    Set(kButtonRange, MAKELPARAM(0, 100));
    Set(kButtonValue, 50);
    ClickAt(button, POINT{60, 10});  // upper half: up
    EXPECT_EQ(Told(), kClick);
    EXPECT_EQ(Get(kButtonValue), 51);
    ClickAt(button, POINT{60, 30});  // lower half: down
    EXPECT_EQ(Get(kButtonValue), 50);
    Told();

    MoveTo(button, POINT{60, 10});
    PressMouse();
    AdvanceClock(clock, 398);
    EXPECT_EQ(Told(), (Notices{"notify 0"}));  // the rest, at 191 ms
    AdvanceClock(clock, 1);
    EXPECT_EQ(Told(), (Notices{"command"}));
    EXPECT_EQ(Get(kButtonValue), 51);
    AdvanceClock(clock, 76);
    EXPECT_TRUE(Told().empty());
    AdvanceClock(clock, 1 + 2 * 77);
    EXPECT_EQ(Told(), (Notices{"command", "command", "command"}));
    EXPECT_EQ(Get(kButtonValue), 54);
    ReleaseMouse();  // told once more, without a further step
    EXPECT_EQ(Told(), kClick);
    EXPECT_EQ(Get(kButtonValue), 54);
}

TEST_F(ButtonTest, TheNineSliceSkinStretchesOverTheWholeButton) {
    Make(kPushButton, L"", 100, 50);
    const struct {
        POINT at;
        COLORREF colour;
    } cases[] = {
        {{0, 0}, kTopLeft},     {{17, 17}, kTopLeft},    {{82, 0}, kTopRight},     {{99, 17}, kTopRight},
        {{0, 32}, kBottomLeft}, {{17, 49}, kBottomLeft}, {{82, 32}, kBottomRight}, {{99, 49}, kBottomRight},
        {{18, 0}, kTopEdge},    {{81, 17}, kTopEdge},    {{50, 32}, kBottomEdge},  {{50, 49}, kBottomEdge},
        {{0, 18}, kLeftEdge},   {{17, 31}, kLeftEdge},   {{82, 18}, kRightEdge},   {{99, 31}, kRightEdge},
        {{18, 18}, kFaces[0]},  {{81, 31}, kFaces[0]},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadPixel(button, c.at.x, c.at.y), c.colour) << c.at.x << "," << c.at.y;
}

TEST_F(ButtonTest, AStackedSkinShowsTheStateFaceAndFallsBackToNormalForAMissingFace) {
    Make(kPushButton, L"", 41, 17);
    Set(kButtonBackgroundMode, kStackedBackground);
    Set(kButtonBackgroundBitmap, 5457);
    InvalidateRect(button, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(ReadPixel(button, 20, 8), kFourFaces[0]);
    MoveTo(button, POINT{20, 8});
    EXPECT_EQ(ReadPixel(button, 40, 16), kFourFaces[1]);
    MoveAway();
    EnableWindow(button, FALSE);
    EXPECT_EQ(ReadPixel(button, 20, 8), kFourFaces[3]);

    SendMessageW(button, kButtonBackgroundBitmap, kPropertySetAndRepaint, 5462);  // three faces only
    PumpMessages();
    EXPECT_EQ(ReadPixel(button, 0, 0), kThreeFaces[0]);
    EXPECT_EQ(ReadPixel(button, 40, 16), kThreeFaces[0]);
}

TEST_F(ButtonTest, PropertiesAnswerTheirValueAndOnlyASetWithTheHighWordRepaints) {
    Make(kPushButton);
    const struct {
        UINT property;
        LPARAM value;
    } cases[] = {
        {kButtonKind, kSpinButton},
        {kButtonBackgroundMode, kStackedBackground},
        {kButtonBackgroundBitmap, 5462},
        {kButtonIcon1, 5464},
        {kButtonIcon2, 5465},
        {kButtonIcon1Position, MAKELPARAM(10, 14)},
        {kButtonIcon2Position, MAKELPARAM(0xFFFF, 3)},  // each half an unsigned 16-bit number
        {kButtonHitInset, 4},
        {kButtonTextX, -1},
        {kButtonTextX, 10},
        {kButtonChecked, 1},
        {kButtonToggleOnClick, 0},
        {kButtonValue, -7},
        {kButtonRange, MAKELPARAM(2, 9)},
    };
    for (const auto& c : cases) {
        PumpMessages();
        EXPECT_EQ(Set(c.property, c.value), c.value) << c.property;
        RECT pending;
        EXPECT_FALSE(GetUpdateRect(button, &pending, FALSE)) << c.property;
        EXPECT_EQ(SendMessageW(button, c.property, kPropertyRead, 12345), c.value) << c.property;
        EXPECT_EQ(SendMessageW(button, c.property, kPropertySetAndRepaint, c.value), c.value);
        EXPECT_TRUE(GetUpdateRect(button, &pending, FALSE)) << c.property;
    }
}

}  // namespace
}  // namespace kestrova::uitest
