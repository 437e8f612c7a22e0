#include "platform/base/clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace kestrova {
namespace {

class SystemClock : public Clock {
public:
    int64_t CalendarSeconds() override { return int64_t(std::time(nullptr)); }

    LocalTime Now() override {
        timespec ts{};
        clock_gettime(CLOCK_REALTIME, &ts);
        return ToLocalTime(int64_t(ts.tv_sec), int(ts.tv_nsec / 1000000));
    }

    uint64_t Milliseconds() override {
        using namespace std::chrono;
        return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                 const std::function<bool()>& ready) override {
        return cv.wait_for(lock, std::chrono::milliseconds(ms), ready);
    }
};

SystemClock g_systemClock;
std::atomic<Clock*> g_clock{&g_systemClock};

LocalTime FromTm(const std::tm& t, int millisecond) {
    LocalTime lt;
    lt.year = t.tm_year + 1900;
    lt.month = t.tm_mon + 1;
    lt.day = t.tm_mday;
    lt.hour = t.tm_hour;
    lt.minute = t.tm_min;
    lt.second = t.tm_sec;
    lt.millisecond = millisecond;
    lt.dayOfWeek = t.tm_wday;
    return lt;
}

// How often a wait on the test clock looks again at the condition it waits for. Real time, short: the
// condition's owner notifies its own condition variable, which this clock cannot see.
constexpr auto kTestPoll = std::chrono::milliseconds(1);

}  // namespace

bool Clock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t untilMs,
                      const std::function<bool()>& ready) {
    const uint64_t now = Milliseconds();
    const uint64_t left = untilMs <= now ? 0 : untilMs - now;
    return WaitFor(lock, cv, uint32_t(std::min<uint64_t>(left, UINT32_MAX)), ready);
}

Clock& GetClock() { return *g_clock.load(); }

void SetClock(Clock* clock) { g_clock.store(clock ? clock : &g_systemClock); }

LocalTime ToLocalTime(int64_t calendarSeconds, int millisecond) {
    std::time_t t = std::time_t(calendarSeconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    return FromTm(tm, millisecond);
}

TestClock::TestClock(int64_t calendarSeconds) : calendarMs_(calendarSeconds * 1000) {}

int64_t TestClock::CalendarSeconds() {
    std::lock_guard<std::mutex> g(mutex_);
    return calendarMs_ / 1000;
}

LocalTime TestClock::Now() {
    int64_t ms;
    {
        std::lock_guard<std::mutex> g(mutex_);
        ms = calendarMs_;
    }
    std::time_t t = std::time_t(ms / 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return FromTm(tm, int(ms % 1000));
}

uint64_t TestClock::Milliseconds() {
    std::lock_guard<std::mutex> g(mutex_);
    return ms_;
}

void TestClock::Sleep(uint32_t ms) {
    SleepUntil(Milliseconds() + ms);
}

void TestClock::SleepUntil(uint64_t untilMs) {
    std::unique_lock<std::mutex> g(mutex_);
    ++waiters_;
    changed_.notify_all();
    changed_.wait(g, [&] { return ms_ >= untilMs; });
    --waiters_;
}

bool TestClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                        const std::function<bool()>& ready) {
    return WaitUntil(lock, cv, Milliseconds() + ms, ready);
}

bool TestClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t until,
                          const std::function<bool()>& ready) {
    {
        std::lock_guard<std::mutex> g(mutex_);
        ++waiters_;
        changed_.notify_all();
    }
    bool result;
    for (;;) {
        if (ready()) {
            result = true;
            break;
        }
        if (Milliseconds() >= until) {
            result = false;
            break;
        }
        cv.wait_for(lock, kTestPoll);
    }
    std::lock_guard<std::mutex> g(mutex_);
    --waiters_;
    return result;
}

void TestClock::Advance(uint32_t ms) {
    std::lock_guard<std::mutex> g(mutex_);
    ms_ += ms;
    calendarMs_ += ms;
    changed_.notify_all();
}

void TestClock::SetCalendarSeconds(int64_t calendarSeconds) {
    std::lock_guard<std::mutex> g(mutex_);
    calendarMs_ = calendarSeconds * 1000;
    changed_.notify_all();
}

int TestClock::Waiters() {
    std::lock_guard<std::mutex> g(mutex_);
    return waiters_;
}

bool TestClock::WaitForWaiters(int count, uint32_t realMs) {
    std::unique_lock<std::mutex> g(mutex_);
    return changed_.wait_for(g, std::chrono::milliseconds(realMs), [&] { return waiters_ >= count; });
}

}  // namespace kestrova
