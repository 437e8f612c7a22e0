#include <gtest/gtest.h>

#include <atomic>

#include "platform/base/clock.h"
#include "platform/base/event.h"
#include "platform/base/thread.h"

namespace kestrova {
namespace {

class TestClockFixture : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock); }
    void TearDown() override { SetClock(nullptr); }
    TestClock clock;
};

TEST_F(TestClockFixture, LocalTimeIsTheCalendarReadAsUtc) {
    LocalTime t = GetClock().Now();
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 5);
    EXPECT_EQ(t.dayOfWeek, 1);  // Monday
    clock.Advance(90 * 60 * 1000 + 250);
    t = GetClock().Now();
    EXPECT_EQ(t.hour, 1);
    EXPECT_EQ(t.minute, 30);
    EXPECT_EQ(t.millisecond, 250);
    EXPECT_EQ(GetClock().Milliseconds(), uint64_t(90 * 60 * 1000 + 250));
}

TEST_F(TestClockFixture, WorkerPollsOnlyAsTheClockMoves) {
    std::atomic<int> passes{0};
    Worker worker;
    ASSERT_TRUE(worker.Start([&](StopFlag& stop) {
        while (stop.SleepUnlessStopped(200)) ++passes;
    }));
    EXPECT_FALSE(worker.Start([](StopFlag&) {}));  // one thread at a time
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(clock.WaitForWaiters(1));
        clock.Advance(200);
        while (clock.Waiters() == 1 && passes.load() == i) {}
    }
    ASSERT_TRUE(clock.WaitForWaiters(1));
    EXPECT_EQ(passes.load(), 3);
    worker.Stop();  // wakes the sleeper without moving the clock
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(passes.load(), 3);
}

TEST_F(TestClockFixture, EventTimesOutOnTheClockAndWakesWhenSet) {
    Event ev(true);
    std::atomic<int> result{-1};
    Worker waiter;
    waiter.Start([&](StopFlag&) { result = ev.Wait(1000) ? 1 : 0; });
    ASSERT_TRUE(clock.WaitForWaiters(1));
    clock.Advance(999);
    EXPECT_EQ(result.load(), -1);
    clock.Advance(1);
    waiter.Join();
    EXPECT_EQ(result.load(), 0);

    Event autoReset(false);
    waiter.Start([&](StopFlag&) { result = autoReset.Wait(kInfinite) ? 1 : 0; });
    autoReset.Set();
    waiter.Join();
    EXPECT_EQ(result.load(), 1);
    EXPECT_FALSE(autoReset.IsSet());  // an auto-reset event clears itself for the waiter it released
}

}  // namespace
}  // namespace kestrova
