#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/ui/testing/message_pump.h"
#include "platform/ui/thread_queue.h"
#include "tests/platform/ui/test_window.h"

namespace kestrova::uitest {
namespace {

TEST(MessageQueue, PostsFromSeveralThreadsArriveInEachThreadsOrder) {
    constexpr int kThreads = 4;
    constexpr int kEach = 2000;
    const UINT kDone = WM_APP + 1;
    std::vector<int> next(kThreads + 1, 0);
    bool inOrder = true;
    int received = 0;
    TestWindow w("w");
    w.answer = [&](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        inOrder = inOrder && lp == next[wp]++;
        ++received;
        return 0;
    };
    ASSERT_NE(w.Create(HWND_MESSAGE), nullptr);
    const uint64_t me = GetCurrentThreadId();

    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) ASSERT_TRUE(PostMessageW(w.hwnd, WM_USER, t, i));
        });
    // One more thread posts to the thread itself rather than to the window.
    senders.emplace_back([&] {
        for (int i = 0; i < kEach; ++i) ASSERT_TRUE(PostThreadMessageW(me, WM_USER, kThreads, i));
    });
    std::thread finisher([&] {
        for (auto& s : senders) s.join();
        PostMessageW(w.hwnd, kDone, 0, 0);
    });

    int threadMessages = 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != kDone) {
        if (!msg.hwnd && msg.message == WM_USER) {
            inOrder = inOrder && msg.lParam == next[kThreads]++;
            ++threadMessages;
        }
        DispatchMessageW(&msg);
    }
    finisher.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received, kThreads * kEach);
    EXPECT_EQ(threadMessages, kEach);
    DestroyWindow(w.hwnd);
}

TEST(MessageQueue, QuitComesAfterWhatWasPosted) {
    PostMessageW(nullptr, WM_USER, 1, 0);
    PostQuitMessage(7);
    PostMessageW(nullptr, WM_USER, 2, 0);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 1);
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(MessageQueue, PeekFiltersByWindowAndRange) {
    TestWindow a("a"), child("child"), b("b");
    ASSERT_NE(a.Create(), nullptr);
    ASSERT_NE(child.Create(a.hwnd, WS_CHILD), nullptr);
    ASSERT_NE(b.Create(), nullptr);
    PostMessageW(b.hwnd, WM_USER, 1, 0);
    PostMessageW(a.hwnd, WM_USER, 2, 0);
    PostMessageW(child.hwnd, WM_APP, 3, 0);
    PostMessageW(a.hwnd, WM_APP, 4, 0);

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, a.hwnd, WM_APP, WM_APP, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 3u);  // a child's message counts as the window's
    ASSERT_TRUE(PeekMessageW(&msg, a.hwnd, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessageW(&msg, a.hwnd, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_FALSE(PeekMessageW(&msg, a.hwnd, WM_APP, WM_APP, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.hwnd, b.hwnd);
    DestroyWindow(a.hwnd);
    EXPECT_EQ(PeekMessageW(&msg, a.hwnd, 0, 0, PM_REMOVE), FALSE);  // gone with its window
    EXPECT_EQ(GetMessageW(&msg, a.hwnd, 0, 0), -1);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(b.hwnd);
}

// A window on a thread of its own that answers WM_USER with wParam * 2 and quits on WM_CLOSE.
class OtherThreadWindow {
public:
    explicit OtherThreadWindow(std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> answer)
        : window_("other") {
        window_.answer = std::move(answer);
        std::atomic<bool> ready{false};
        thread_ = std::thread([&] {
            window_.Create(HWND_MESSAGE);
            ready = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            DestroyWindow(window_.hwnd);
        });
        while (!ready) std::this_thread::yield();
    }
    ~OtherThreadWindow() {
        PostMessageW(window_.hwnd, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND hwnd() const { return window_.hwnd; }

private:
    TestWindow window_;
    std::thread thread_;
};

std::optional<LRESULT> QuitOnDestroy(UINT m) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return std::nullopt;
}

TEST(SendMessage, WaitsForTheOtherThreadsAnswer) {
    std::thread::id handledOn;
    OtherThreadWindow other([&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) {
            handledOn = std::this_thread::get_id();
            return LRESULT(wp * 2);
        }
        return QuitOnDestroy(m);
    });
    EXPECT_EQ(SendMessageW(other.hwnd(), WM_USER, 21, 0), 42);
    EXPECT_NE(handledOn, std::this_thread::get_id());
}

TEST(SendMessage, SenderStillHandlesWhatIsSentToItWhileItWaits) {
    TestWindow mine("mine");
    std::vector<std::thread::id> handledOn;
    mine.answer = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER) return std::nullopt;
        handledOn.push_back(std::this_thread::get_id());
        return LRESULT(wp + 1);
    };
    ASSERT_NE(mine.Create(HWND_MESSAGE), nullptr);
    // The other window asks this thread's window before it answers.
    OtherThreadWindow other([&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) return SendMessageW(mine.hwnd, WM_USER, wp * 10, 0) * 2;
        return QuitOnDestroy(m);
    });
    EXPECT_EQ(SendMessageW(other.hwnd(), WM_USER, 3, 0), 62);
    EXPECT_EQ(handledOn, std::vector<std::thread::id>{std::this_thread::get_id()});
    DestroyWindow(mine.hwnd);
}

// A post that may wait is taken with whatever wakes the loop first, or when its time is up, and keeps its
// place among the other messages.
TEST(UnhurriedPost, WaitsForTheLoopsNextWakeUpOrItsTime) {
    constexpr UINT kSetTimer = WM_USER + 1;
    struct Taken {
        UINT message;
        WPARAM wParam;
        uint64_t atMs;
        bool operator==(const Taken&) const = default;
    };
    struct Case {
        const char* name;
        UINT timerMs;       // a timer of the loop's window, 0: none
        bool ordinaryPost;  // an ordinary post (WM_USER, 2) at atMs
        uint32_t atMs;      // when the loop should take the unhurried post
        std::vector<Taken> taken;
    };
    TestClock clock;
    SetClock(&clock);
    for (const Case& c : {Case{"alone", 0, false, 200, {{WM_USER, 1, 200}}},
                          Case{"a timer due sooner", 50, false, 50, {{WM_USER, 1, 50}, {WM_TIMER, 1, 50}}},
                          Case{"an ordinary post", 0, true, 10, {{WM_USER, 1, 10}, {WM_USER, 2, 10}}}}) {
        const uint64_t start = clock.Milliseconds();
        std::mutex mutex;
        std::vector<Taken> taken;
        auto takenSoFar = [&] {
            std::lock_guard<std::mutex> g(mutex);
            return taken;
        };
        OtherThreadWindow other([&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
            if (m == kSetTimer) return LRESULT(SetTimer(h, 1, UINT(wp), nullptr));
            if (m == WM_USER || m == WM_TIMER) {
                std::lock_guard<std::mutex> g(mutex);
                taken.push_back({m, wp, clock.Milliseconds() - start});
                if (m == WM_TIMER) KillTimer(h, wp);
            }
            return QuitOnDestroy(m);
        });
        if (c.timerMs != 0) SendMessageW(other.hwnd(), kSetTimer, c.timerMs, 0);
        ASSERT_TRUE(clock.WaitForWaiters(1)) << c.name;
        ASSERT_TRUE(ui::PostUnhurriedMessage(other.hwnd(), WM_USER, 1, 0, 200)) << c.name;
        clock.Advance(c.atMs - 1);
        ASSERT_TRUE(clock.WaitForWaiters(1)) << c.name;
        EXPECT_TRUE(takenSoFar().empty()) << c.name << ": taken before anything woke the loop";
        clock.Advance(1);
        if (c.ordinaryPost) PostMessageW(other.hwnd(), WM_USER, 2, 0);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (takenSoFar().size() < c.taken.size() && std::chrono::steady_clock::now() < end) {
            std::this_thread::yield();
        }
        EXPECT_EQ(takenSoFar(), c.taken) << c.name;
    }
    SetClock(nullptr);
}

TEST(UnhurriedPost, FailsForAWindowThatIsGone) {
    TestWindow w("w");
    ASSERT_NE(w.Create(HWND_MESSAGE), nullptr);
    const HWND gone = w.hwnd;
    DestroyWindow(gone);
    EXPECT_FALSE(ui::PostUnhurriedMessage(gone, WM_USER, 0, 0, 200));
}

}  // namespace
}  // namespace kestrova::uitest
