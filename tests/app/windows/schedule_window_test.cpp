#include "app/windows/schedule_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/windows/property_window.h"
#include "app/windows/stream_window.h"
#include "engine/device.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/app/windows/stream_classes.h"

namespace kestrova::uitest {
namespace {

constexpr int kMonitoringId = 1046, kStreamingId = 1047;
constexpr wchar_t kNoActions[] = L"Select which actions are scheduled.";
constexpr wchar_t kNoTime[] = L"Set the time to automatically perform specified actions.";

// The middle of a quarter's bar in the window: day rows of 52 pixels from y 268, hours of 22 from x 57.
POINT At(int day, int hour, int quarter) {
    constexpr int kQuarterY[] = {10, 24, 31, 40};
    return {57 + 22 * hour + 10, 268 + 52 * day + kQuarterY[quarter]};
}

// The quarters set in a grid, as (day, hour, quarter) triples in the week's order.
using Quarters = std::vector<std::array<int, 3>>;
Quarters SetQuarters(const WeekGrid& grid) {
    Quarters set;
    for (int d = 0; d < kWeekDays; ++d)
        for (int h = 0; h < kDayHours; ++h)
            for (int q = 0; q < 4; ++q)
                if (grid[WeekGridWord(d, h)] >> q & 1) set.push_back({d, h, q});
    return set;
}

class ScheduleWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        ASSERT_TRUE(RegisterScheduleAndStreamClasses());
        options.grid = &grid;
    }
    int Show(const std::function<void(HWND)>& act) {
        return Drive(
            kScheduleWindowClass, [&] { return ShowScheduleWindow(owner, &options, &streaming); }, act);
    }
    // Presses `button` at `from`, moves through `path` and lets go at the last point of it.
    static void DragIn(HWND window, MouseButton button, POINT from, const std::vector<POINT>& path) {
        MoveMouse(OnScreen(window, from));
        PressMouse(button);
        for (POINT p : path) MoveMouse(OnScreen(window, p));
        ReleaseMouse(button);
    }

    ScheduleOptions options;
    WeekGrid grid{};
    StreamingSetup streaming;
};

TEST_F(ScheduleWindowTest, ADragSetsOrClearsTheStretchOfTheWeekBetweenTwoQuarters) {
    WeekGrid full;
    full.fill(0xF);
    const struct {
        const char* what;
        WeekGrid before;
        MouseButton button;
        POINT from;
        std::vector<POINT> path;
        Quarters after;
    } cases[] = {
        {"over midnight",
         {},
         MouseButton::Left,
         At(0, 23, 3),
         {At(1, 0, 0), At(1, 0, 1)},
         {{0, 23, 3}, {1, 0, 0}, {1, 0, 1}}},
        {"backwards", {}, MouseButton::Left, At(1, 0, 1), {At(0, 23, 3)}, {{0, 23, 3}, {1, 0, 0}, {1, 0, 1}}},
        {"a click", {}, MouseButton::Left, At(6, 12, 2), {}, {{6, 12, 2}}},
        {"through a day row's gaps",
         {},
         MouseButton::Left,
         At(2, 5, 0),
         {At(2, 6, 3)},
         {{2, 5, 0}, {2, 5, 1}, {2, 5, 2}, {2, 5, 3}, {2, 6, 0}, {2, 6, 1}, {2, 6, 2}, {2, 6, 3}}},
    };
    for (const auto& c : cases) {
        grid = c.before;
        options.monitoring = 1;
        EXPECT_EQ(Show([&](HWND window) {
                      DragIn(window, c.button, c.from, c.path);
                      Press(window, kOkButtonId);
                  }),
                  kPropertyOk)
            << c.what;
        EXPECT_EQ(SetQuarters(grid), c.after) << c.what;
    }
}

TEST_F(ScheduleWindowTest, ARightDragClearsOnlyItsStretch) {
    grid.fill(0xF);
    options.monitoring = 1;
    Show([&](HWND window) {
        DragIn(window, MouseButton::Right, At(3, 10, 2), {At(3, 11, 1)});
        Press(window, kOkButtonId);
    });
    const Quarters set = SetQuarters(grid);
    EXPECT_EQ(set.size(), 672u - 4u);
    EXPECT_EQ(grid[WeekGridWord(3, 10)], 0x3);  // quarters 2 and 3 cleared
    EXPECT_EQ(grid[WeekGridWord(3, 11)], 0xC);  // quarters 0 and 1 cleared
}

TEST_F(ScheduleWindowTest, ADragThatLeavesTheGridGoesOnAlongItsEdgeAndAppliesOutside) {
    options.monitoring = 1;
    Show([&](HWND window) {
        MoveMouse(OnScreen(window, At(0, 20, 0)));
        PressMouse();
        MoveMouse(OnScreen(window, POINT{610, At(0, 0, 0).y}));
        // Once the pointer has been away a moment, the held drag follows it along the edge.
        clock.Advance(20);
        PumpMessages();
        MoveMouse(OnScreen(window, POINT{620, At(0, 0, 0).y}));
        ReleaseMouse();
        Press(window, kOkButtonId);
    });
    Quarters expected;
    for (int h = 20; h < 24; ++h) expected.push_back({0, h, 0});
    for (int h = 20; h < 23; ++h)
        for (int q = 1; q < 4; ++q) expected.push_back({0, h, q});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SetQuarters(grid), expected);
}

TEST_F(ScheduleWindowTest, OkAsksForAnActionFirstThenForTime) {
    grid[WeekGridWord(0, 0)] = 1;
    options.monitoring = 1;
    const int result = Show([&](HWND window) {
        EXPECT_TRUE(Checked(window, kMonitoringId));
        Press(window, kDefaultButtonId);
        EXPECT_FALSE(Checked(window, kMonitoringId));
        EXPECT_EQ(PressOkForMessage(window), kNoActions);
        Press(window, kMonitoringId);
        EXPECT_EQ(PressOkForMessage(window), kNoTime);
        EXPECT_TRUE(IsWindow(window));
        Press(window, kCancelButtonId);
    });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(grid[WeekGridWord(0, 0)], 1) << "Cancel leaves the caller's grid";
}

TEST_F(ScheduleWindowTest, AMicrophoneSchedulesMonitoringOnly) {
    options.type = kDeviceMicrophone;
    Show([&](HWND window) {
        EXPECT_FALSE(Enabled(window, kStreamingId));
        EXPECT_TRUE(Enabled(window, kMonitoringId));
        Press(window, kCancelButtonId);
    });
}

TEST_F(ScheduleWindowTest, TickingStreamingAsksForTheServerAndUnticksWhenThatIsCancelled) {
    for (const int streamAnswer : {kCancelButtonId, kOkButtonId}) {
        bool checked = false;
        Show([&](HWND window) {
            Later([&] {
                HWND stream = FindWindowW(kStreamWindowClass, nullptr);
                ASSERT_NE(stream, nullptr);
                Press(stream, streamAnswer);
            });
            Press(window, kStreamingId);
            checked = Checked(window, kStreamingId);
            Press(window, kCancelButtonId);
        });
        EXPECT_EQ(checked, streamAnswer == kOkButtonId);
        EXPECT_EQ(streaming.settings != nullptr, streamAnswer == kOkButtonId);
    }
}

}  // namespace
}  // namespace kestrova::uitest
