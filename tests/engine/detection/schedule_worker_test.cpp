// The schedule worker against the stepping clock: which quarter hour a moment falls in and the start and
// stop requests it posts on the edges of the weekly schedule.
#include "engine/schedule_worker.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/device_messages.h"
#include "tests/engine/device/kit/note_sorter.h"
#include "tests/engine/device/kit/stepping_clock.h"
#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {
namespace {

constexpr int64_t kMonday = 1767571200;  // 2026-01-05 00:00:00, as the test clock reads it
constexpr int64_t kMinute = 60;
constexpr int64_t kDay = 24 * 60 * kMinute;

TEST(ScheduleSlotTest, MomentsFallInTheirQuarterHourOfAMondayFirstWeek) {
    const struct {
        int64_t at;
        ScheduleSlot slot;
        int word, bit;
    } cases[] = {
        {kMonday, {0, 0, 0}, 0, 0},
        {kMonday + 14 * kMinute + 59, {0, 0, 0}, 0, 0},
        {kMonday + 15 * kMinute, {0, 0, 1}, 0, 1},
        {kMonday + kDay + 13 * 60 * kMinute + 45 * kMinute, {1, 13, 3}, 24 + 13, 3},
        {kMonday + 6 * kDay + 23 * 60 * kMinute + 50 * kMinute, {6, 23, 3}, 167, 3},  // Sunday 23:50
    };
    for (const auto& c : cases) {
        const ScheduleSlot slot = SlotOf(TestClock(c.at).Now());
        EXPECT_EQ(slot, c.slot) << c.at;
        WeekGrid grid{};
        grid[c.word] = uint16_t(1u << c.bit);
        EXPECT_TRUE(SlotActive(grid, slot)) << c.at;
        grid[c.word] = uint16_t(~(1u << c.bit));
        EXPECT_FALSE(SlotActive(grid, slot)) << c.at;
    }
    EXPECT_FALSE(SlotActive(WeekGrid{}, ScheduleSlot{}));
}

// A device whose schedule worker started at `start` and has made its first pass.
struct Scheduled {
    SteppingClock clock;
    NotifyRecorder recorder;
    NoteSorter notes{recorder};
    TestDevice device;

    Scheduled(const WeekGrid& grid, int64_t start, int monitoring = 1, int streaming = 1) : clock(start) {
        device.SetNotifyWindow(recorder.window());
        device.SetSchedule(&grid);
        device.SetScheduleMonitoring(monitoring);
        device.SetScheduleStreaming(streaming);
        EXPECT_EQ(device.StartSchedule(), 1);
        EXPECT_TRUE(clock.AwaitWaits(1));
    }
    // Sets the calendar to `at` and lets one pass run, half a second later.
    void MoveTo(int64_t at) {
        clock.SetCalendarSeconds(at);
        ASSERT_TRUE(clock.Step(500));
    }
    std::vector<int> Requests() { return notes.Take(kNotifySchedule); }
};

const std::vector<int> kStarts = {0x102, 0x108};
const std::vector<int> kStops = {0x002, 0x008};
const std::vector<int> kNone = {};

TEST(ScheduleWorkerTest, OneActiveQuarterStartsAtItsBeginningAndStopsAtItsEnd) {
    WeekGrid grid{};
    grid[0] = 0x0001;  // Monday 00:00-00:14
    Scheduled s(grid, kMonday);
    EXPECT_EQ(s.Requests(), kStarts);
    EXPECT_EQ(s.device.GetState(kStateScheduleRunning), 1);
    s.MoveTo(kMonday + 14 * kMinute + 59);
    EXPECT_EQ(s.Requests(), kNone);
    s.MoveTo(kMonday + 15 * kMinute);
    EXPECT_EQ(s.Requests(), kStops);
    s.MoveTo(kMonday + 7 * kDay);  // next Monday
    EXPECT_EQ(s.Requests(), kStarts);
}

TEST(ScheduleWorkerTest, AWeekOfActiveQuartersStartsOnceAndNeverStops) {
    WeekGrid grid;
    grid.fill(0xFFFF);  // bits 4..15 mean nothing
    Scheduled s(grid, kMonday + 3 * kDay + 10 * 60 * kMinute);
    EXPECT_EQ(s.Requests(), kStarts);
    for (int64_t at = kMonday + 3 * kDay; at <= kMonday + 8 * kDay; at += 7 * 60 * kMinute) s.MoveTo(at);
    EXPECT_EQ(s.Requests(), kNone);
}

TEST(ScheduleWorkerTest, MovesWithinTheSameActivityPostNothing) {
    WeekGrid grid{};
    grid[WeekGridWord(6, 23)] = 0x0008;  // Sunday 23:45-23:59
    grid[WeekGridWord(0, 5)] = 0x0003;   // Monday 05:00-05:29
    const int64_t sunday2350 = kMonday + 6 * kDay + 23 * 60 * kMinute + 50 * kMinute;
    Scheduled s(grid, sunday2350);
    EXPECT_EQ(s.Requests(), kStarts);
    s.MoveTo(sunday2350 - 4 * kMinute);  // back into the same quarter hour
    EXPECT_EQ(s.Requests(), kNone);

    s.MoveTo(kMonday + 5 * 60 * kMinute + 20 * kMinute);  // back to another active slot
    EXPECT_EQ(s.Requests(), kNone);
    s.MoveTo(kMonday + 5 * 60 * kMinute + 40 * kMinute);
    EXPECT_EQ(s.Requests(), kStops);
    s.MoveTo(kMonday + 2 * kDay);  // another inactive slot
    EXPECT_EQ(s.Requests(), kNone);
}

TEST(ScheduleWorkerTest, OnlyTheChosenActivitiesAreRequested) {
    WeekGrid grid{};
    grid[0] = 0x0001;
    const struct {
        int monitoring, streaming;
        std::vector<int> starts, stops;
    } cases[] = {
        {1, 0, {0x102}, {0x002}},
        {0, 1, {0x108}, {0x008}},
        {0, 0, {}, {}},
    };
    for (const auto& c : cases) {
        Scheduled s(grid, kMonday, c.monitoring, c.streaming);
        EXPECT_EQ(s.Requests(), c.starts);
        s.MoveTo(kMonday + 15 * kMinute);
        EXPECT_EQ(s.Requests(), c.stops);
        EXPECT_EQ(s.device.StopSchedule(), 1);
        EXPECT_EQ(s.device.GetState(kStateScheduleRunning), 0);
        // Only the worker's own two state notifications.
        EXPECT_EQ(s.notes.Take(kNotifyState),
                  (std::vector<int>{kStateScheduleRunning, kStateScheduleRunning}));
    }
}

TEST(ScheduleWorkerTest, TheWorkerKeepsTheGridItStartedWith) {
    WeekGrid grid{};
    grid[0] = 0x0001;
    Scheduled s(grid, kMonday);
    EXPECT_EQ(s.device.StartSchedule(), 1);  // runs already
    WeekGrid changed;
    changed.fill(0x000F);
    s.device.SetSchedule(&changed);
    s.MoveTo(kMonday + 15 * kMinute);
    EXPECT_EQ(s.Requests(), (std::vector<int>{0x102, 0x108, 0x002, 0x008}));

    s.device.StopSchedule();
    s.device.StartSchedule();  // restarted with the new grid, inside an active quarter
    ASSERT_TRUE(s.clock.AwaitWaits(1));
    EXPECT_EQ(s.Requests(), kStarts);
}

}  // namespace
}  // namespace kestrova::testing
