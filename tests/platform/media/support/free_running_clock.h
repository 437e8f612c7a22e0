#pragma once
// A clock whose waits return at once, moving its time on by what they waited for: paced streams run as
// fast as their receivers take them, while their timestamps stay as real time would make them.

#include <atomic>

#include "platform/base/clock.h"

namespace kestrova::mediatest {

class FreeRunningClock : public Clock {
public:
    explicit FreeRunningClock(int64_t calendarSeconds = 1767571200) : startSeconds_(calendarSeconds) {}

    int64_t CalendarSeconds() override;
    LocalTime Now() override;
    uint64_t Milliseconds() override { return ms_.load(); }
    void Sleep(uint32_t ms) override { ms_ += ms; }
    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                 const std::function<bool()>& ready) override;

private:
    int64_t startSeconds_;
    std::atomic<uint64_t> ms_{0};
};

// Installs a FreeRunningClock for the life of a scope.
class ScopedFreeRunningClock {
public:
    ScopedFreeRunningClock() { SetClock(&clock_); }
    ~ScopedFreeRunningClock() { SetClock(nullptr); }
    FreeRunningClock& clock() { return clock_; }

private:
    FreeRunningClock clock_;
};

}  // namespace kestrova::mediatest
