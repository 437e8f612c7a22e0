#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/testing/message_pump.h"
#include "tests/platform/ui/test_window.h"

namespace kestrova::uitest {
namespace {

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&clock);
        window.answer = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
            if (m == WM_TIMER) ticks.push_back({wp, clock.Milliseconds()});
            return std::nullopt;
        };
        ASSERT_NE(window.Create(HWND_MESSAGE), nullptr);
    }
    void TearDown() override {
        DestroyWindow(window.hwnd);
        SetClock(nullptr);
    }

    struct Tick {
        WPARAM id;
        uint64_t atMs;
        bool operator==(const Tick&) const = default;
    };
    TestClock clock;
    TestWindow window{"w"};
    std::vector<Tick> ticks;
};

TEST_F(TimerTest, FiresOnTheTestClockOnly) {
    ASSERT_EQ(SetTimer(window.hwnd, 5, 1000, nullptr), 5u);
    AdvanceClock(clock, 999);
    EXPECT_TRUE(ticks.empty());
    AdvanceClock(clock, 1);
    EXPECT_EQ(ticks, (std::vector<Tick>{{5, 1000}}));
    AdvanceClock(clock, 2500);  // every period on the way fires
    EXPECT_EQ(ticks, (std::vector<Tick>{{5, 1000}, {5, 2000}, {5, 3000}}));
    EXPECT_TRUE(KillTimer(window.hwnd, 5));
    EXPECT_FALSE(KillTimer(window.hwnd, 5));
    AdvanceClock(clock, 5000);
    EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(TimerTest, SettingAgainRestartsAndIdsStayApart) {
    SetTimer(window.hwnd, 1, 1000, nullptr);
    SetTimer(window.hwnd, 2, 300, nullptr);
    AdvanceClock(clock, 600);
    SetTimer(window.hwnd, 1, 1000, nullptr);  // restarts: next at 1600, not 1000
    KillTimer(window.hwnd, 2);
    AdvanceClock(clock, 1000);
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 300}, {2, 600}, {1, 1600}}));
}

TEST_F(TimerTest, LateTimerFiresOnceAndRestartsFromThen) {
    SetTimer(window.hwnd, 1, 100, nullptr);
    clock.Advance(1050);
    PumpMessages();
    EXPECT_EQ(ticks, (std::vector<Tick>{{1, 1050}}));
    AdvanceClock(clock, 100);
    EXPECT_EQ(ticks.back(), (Tick{1, 1150}));
}

std::vector<UINT_PTR> g_threadTimerCalls;
void RecordThreadTimer(HWND hwnd, UINT msg, UINT_PTR id, DWORD) {
    if (!hwnd && msg == WM_TIMER) g_threadTimerCalls.push_back(id);
}

TEST_F(TimerTest, ThreadTimerWithProcedureGetsItsOwnIds) {
    g_threadTimerCalls.clear();
    UINT_PTR first = SetTimer(nullptr, 0, 100, RecordThreadTimer);
    UINT_PTR second = SetTimer(nullptr, 0, 150, RecordThreadTimer);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    AdvanceClock(clock, 150);
    EXPECT_EQ(g_threadTimerCalls, (std::vector<UINT_PTR>{first, second}));
    EXPECT_TRUE(KillTimer(nullptr, first));
    EXPECT_TRUE(KillTimer(nullptr, second));
    EXPECT_TRUE(ticks.empty());
}

TEST_F(TimerTest, WaitingLoopWakesWhenTheClockMoves) {
    std::atomic<uint64_t> firedAt{0};
    std::thread loop([&] {
        TestWindow w("w");
        w.answer = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m == WM_TIMER) {
                firedAt = clock.Milliseconds();
                DestroyWindow(h);
                PostQuitMessage(0);
            }
            return std::nullopt;
        };
        w.Create(HWND_MESSAGE);
        SetTimer(w.hwnd, 1, 200, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    });
    ASSERT_TRUE(clock.WaitForWaiters(1));
    clock.Advance(199);
    ASSERT_TRUE(clock.WaitForWaiters(1));
    EXPECT_EQ(firedAt.load(), 0u);
    clock.Advance(1);
    loop.join();
    EXPECT_EQ(firedAt.load(), 200u);
}

}  // namespace
}  // namespace kestrova::uitest
