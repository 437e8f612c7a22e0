// The frame every property window shares: placing, the standard buttons, the modal loop and its result,
// the caption band, and the frame's picture. The display properties window stands in where any window
// would do.

#include "app/windows/property_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "app/windows/about_window.h"
#include "app/windows/alarm_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/email_window.h"
#include "app/windows/power_window.h"
#include "app/windows/settings_window.h"
#include "platform/ui/gdi.h"
#include "tests/app/windows/property_window_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kSeparator = RGB(217, 217, 219), kText = RGB(70, 70, 72);

RECT PlaceOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

// A control's place in its window's client area.
RECT ClientPlaceOf(HWND window, int id) {
    RECT r = PlaceOf(GetDlgItem(window, id));
    ScreenToClient(window, reinterpret_cast<POINT*>(&r.left));
    ScreenToClient(window, reinterpret_cast<POINT*>(&r.right));
    return r;
}

class PropertyFrameTest : public PropertyWindowTest {
protected:
    // Opens the display properties window on `streams` and plays `act` in it.
    int ShowDisplay(const std::function<void(HWND)>& act) {
        return Drive(
            kDisplayPropWindowClass, [this] { return ShowDisplayPropWindow(owner, &streams); }, act);
    }

    int32_t streams = 9;
};

TEST_F(PropertyFrameTest, TheWindowStandsCentredOnItsOwnerHalvingTowardZero) {
    const struct {
        RECT owner;
        POINT expected;
    } cases[] = {
        {{100, 60, 600, 733}, {80, 230}},          // 500 x 673: (500 - 540) / 2, (673 - 333) / 2
        {{300, 200, 701, 301}, {231, 84}},         // 401 x 101: -139 / 2 is -69, -232 / 2 is -116
        {{-900, -500, -499, -399}, {-969, -616}},  // left of and above the screen
    };
    for (const auto& c : cases) {
        MoveWindow(owner, c.owner.left, c.owner.top, c.owner.right - c.owner.left,
                   c.owner.bottom - c.owner.top, TRUE);
        ShowDisplay([&](HWND window) {
            const RECT r = PlaceOf(window);
            EXPECT_EQ(r.left, c.expected.x) << c.owner.left;
            EXPECT_EQ(r.top, c.expected.y) << c.owner.left;
            EXPECT_EQ(r.right - r.left, 540);
            EXPECT_EQ(r.bottom - r.top, 333);
            Press(window, kCancelButtonId);
        });
    }
}

TEST_F(PropertyFrameTest, EveryWindowHasItsStandardButtonsInTheirPlacesAndIgnoresEnterAndEscape) {
    AlarmActions actions;
    AlarmActions microphone;
    microphone.type = 2;
    EmailSettings email;
    PowerSettings power;
    AppSettings settings;
    std::wstring folder = L"/tmp/";
    const struct {
        const wchar_t* className;
        std::function<int()> show;
        SIZE size;
        bool cancelAndDefault;
    } windows[] = {
        {kAlarmWindowClass, [&] { return ShowAlarmWindow(owner, &actions); }, {540, 561}, true},
        {kAlarmWindowClass, [&] { return ShowAlarmWindow(owner, &microphone); }, {540, 411}, true},
        {kEmailWindowClass, [&] { return ShowEmailWindow(owner, &email); }, {446, 625}, true},
        {kPowerWindowClass, [&] { return ShowPowerWindow(owner, &power); }, {540, 498}, true},
        {kSettingsWindowClass,
         [&] { return ShowSettingsWindow(owner, &settings, &folder); },
         {540, 388},
         true},
        {kDisplayPropWindowClass, [&] { return ShowDisplayPropWindow(owner, &streams); }, {540, 333}, true},
        {kAboutWindowClass, [&] { return ShowAboutWindow(owner); }, {446, 409}, false},
    };
    for (const auto& w : windows) {
        const int result = Drive(w.className, w.show, [&](HWND window) {
            const int width = w.size.cx, height = w.size.cy;
            EXPECT_EQ(GetParent(window), owner);
            EXPECT_EQ(PlaceOf(window).right - PlaceOf(window).left, width);
            EXPECT_EQ(PlaceOf(window).bottom - PlaceOf(window).top, height);
            const std::vector<std::pair<int, RECT>> expected = {
                {kCloseButtonId, {width - 52, 1, width - 11, 18}},
                {kOkButtonId, {width - 113, height - 54, width - 22, height - 17}},
                {kCancelButtonId, {width - 205, height - 54, width - 114, height - 17}},
                {kDefaultButtonId, {22, height - 54, 113, height - 17}},
            };
            for (const auto& [id, place] : expected) {
                const bool present = GetDlgItem(window, id) != nullptr;
                EXPECT_EQ(present, id <= kOkButtonId || w.cancelAndDefault) << id;
                if (!present) continue;
                const RECT r = ClientPlaceOf(window, id);
                EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                          std::vector<int>({place.left, place.top, place.right, place.bottom}))
                    << id;
            }
            EXPECT_EQ(Text(window, kOkButtonId), L"OK");
            QueueKey(VK_RETURN);
            QueueKey(VK_ESCAPE);
            Later([this, window] {
                EXPECT_TRUE(IsWindow(window)) << "a dialog key closed the window";
                EXPECT_FALSE(IsWindowEnabled(owner));
                Press(window, kCloseButtonId);
            });
        });
        EXPECT_EQ(result, kPropertyCancelled);
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(PropertyFrameTest, TheOwnerIsDisabledWhileTheWindowShowsAndEnterAndEscapeDoNothing) {
    const int result = ShowDisplay([this](HWND window) {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_TRUE(IsWindowVisible(window));
        Press(window, 1041);  // "25"
        QueueKey(VK_RETURN);
        QueueKey(VK_ESCAPE);
        Later([this, window] {
            EXPECT_TRUE(IsWindow(window)) << "a dialog key closed the window";
            EXPECT_FALSE(IsWindowEnabled(owner));
            EXPECT_EQ(streams, 9);
            Press(window, kCancelButtonId);
        });
    });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(streams, 9);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(PropertyFrameTest, EveryWayOutEndsTheLoopAndGivesTheOwnerBack) {
    const struct {
        const char* name;
        std::function<void(HWND)> close;
        int expected;
        int32_t stored;
    } cases[] = {
        {"close button after Default",
         [](HWND w) {
             Press(w, kDefaultButtonId);
             Press(w, kCloseButtonId);
         },
         0, 9},
        {"Cancel after Default",
         [](HWND w) {
             Press(w, kDefaultButtonId);
             Press(w, kCancelButtonId);
         },
         0, 9},
        {"WM_CLOSE", [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); }, 0, 9},
        {"destroyed", [](HWND w) { DestroyWindow(w); }, 0, 9},
        {"OK after Default",
         [](HWND w) {
             Press(w, kDefaultButtonId);
             Press(w, kOkButtonId);
         },
         1, 1},
    };
    for (const auto& c : cases) {
        streams = 9;
        EXPECT_EQ(ShowDisplay(c.close), c.expected) << c.name;
        EXPECT_EQ(streams, c.stored) << c.name;
        EXPECT_TRUE(IsWindowEnabled(owner)) << c.name;
        EXPECT_EQ(FindWindowW(kDisplayPropWindowClass, nullptr), nullptr) << c.name;
    }
}

TEST_F(PropertyFrameTest, TheWindowGoesWithItsOwner) {
    EXPECT_EQ(ShowDisplay([this](HWND) { DestroyWindow(owner); }), kPropertyCancelled);
    owner = nullptr;
    EXPECT_EQ(FindWindowW(kDisplayPropWindowClass, nullptr), nullptr);
}

TEST_F(PropertyFrameTest, AQuitPostedWhileTheWindowIsOpenClosesItAndStillEndsTheOuterLoop) {
    EXPECT_EQ(ShowDisplay([](HWND window) {
                  Press(window, 1041);
                  PostQuitMessage(7);
              }),
              kPropertyCancelled);
    EXPECT_EQ(streams, 9);
    EXPECT_EQ(FindWindowW(kDisplayPropWindowClass, nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    const PumpResult outer = PumpMessages();
    ASSERT_TRUE(outer.quit) << "the quit was swallowed";
    EXPECT_EQ(outer.exitCode, 7);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);  // the outer loop takes it
}

TEST_F(PropertyFrameTest, AWindowOpenedFromAnotherReturnsToItWhichStaysModal) {
    AlarmActions actions;
    Drive(
        kAlarmWindowClass, [&] { return ShowAlarmWindow(owner, &actions); },
        [&](HWND alarm) {
            Later([&, alarm] {
                HWND email = FindWindowW(kEmailWindowClass, nullptr);
                ASSERT_NE(email, nullptr);
                EXPECT_EQ(GetParent(email), alarm);
                EXPECT_FALSE(IsWindowEnabled(alarm));
                EXPECT_FALSE(IsWindowEnabled(owner));
                Press(email, kCancelButtonId);
            });
            Press(alarm, 1052);  // "Send an email" opens the e-mail window
            EXPECT_TRUE(IsWindowEnabled(alarm));
            EXPECT_FALSE(IsWindowEnabled(owner)) << "the alarm window is still modal";
            Press(alarm, kCancelButtonId);
        });
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(PropertyFrameTest, TheTopBandDragsTheWindowExceptOverTheCloseButton) {
    MoveWindow(owner, -800, -700, 500, 673, TRUE);  // a monitor left of and above the first one
    ShowDisplay([this](HWND window) {
        const RECT before = PlaceOf(window);
        const struct {
            POINT from;
            bool drags;
        } cases[] = {{{200, 10}, true}, {{5, 28}, true}, {{200, 29}, false}, {{500, 8}, false}};
        RECT expected = before;
        for (const auto& c : cases) {
            MoveMouse(OnScreen(window, c.from));
            PressMouse();
            MoveMouse(OnScreen(window, POINT{c.from.x + 30, c.from.y + 20}));
            ReleaseMouse();
            if (c.drags) {
                expected.left += 30;
                expected.top += 20;
            }
            EXPECT_EQ(PlaceOf(window).left, expected.left) << c.from.x << "," << c.from.y;
            EXPECT_EQ(PlaceOf(window).top, expected.top) << c.from.x << "," << c.from.y;
        }
        EXPECT_TRUE(IsWindow(window));
        Press(window, kCancelButtonId);
    });
}

TEST_F(PropertyFrameTest, TheFrameShowsTheCaptionAndSeparatorsOnWhiteInsideRoundedCorners) {
    ShowDisplay([](HWND window) {
        EXPECT_EQ(ReadPixel(window, 0, 0), CLR_INVALID) << "the corner is cut";
        EXPECT_EQ(ReadPixel(window, 1, 1), CLR_INVALID);
        EXPECT_NE(ReadPixel(window, 4, 4), CLR_INVALID);
        for (int x : {15, 270, 524}) {
            EXPECT_EQ(ReadPixel(window, x, 83), kSeparator) << x;
            EXPECT_EQ(ReadPixel(window, x, 333 - 69), kSeparator) << x;
        }
        EXPECT_EQ(ReadPixel(window, 14, 83), kWhite);
        EXPECT_EQ(ReadPixel(window, 525, 83), kWhite);
        EXPECT_EQ(ReadPixel(window, 270, 90), kWhite);
        int caption = 0;
        for (int y = 51; y < 71; ++y)
            for (int x = 19; x < 80; ++x) caption += ReadPixel(window, x, y) == kText;
        EXPECT_GT(caption, 20) << "\"Display\" in the caption's place";
        Press(window, kCancelButtonId);
    });
}

TEST_F(PropertyFrameTest, AWindowThatCannotBeMadeAnswersZeroAndLeavesTheOwnerAlone) {
    EXPECT_EQ(ShowPropertyWindow(L"KestrovaNoSuchWindow", owner, nullptr, SIZE{300, 200}),
              kPropertyCancelled);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
}  // namespace kestrova::uitest
