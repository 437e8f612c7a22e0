#pragma once
// Time as the program sees it. Everything that waits or reads the time goes through the installed clock, so
// tests replace it with a TestClock and run timers, schedules and alarms without waiting.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace kestrova {

struct LocalTime {
    int year = 1970;   // four digits
    int month = 1;     // 1..12
    int day = 1;       // 1..31
    int hour = 0;      // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 4;  // 0 Sunday .. 6 Saturday
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 UTC.
    virtual int64_t CalendarSeconds() = 0;
    // The local calendar time now.
    virtual LocalTime Now() = 0;
    // A monotonic millisecond count of the process.
    virtual uint64_t Milliseconds() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // With `lock` held on the mutex that guards `ready`, waits until ready() is true or `ms` of this clock's
    // time has passed, and returns ready(). Whoever makes ready() true notifies `cv` while holding the mutex.
    virtual bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                         const std::function<bool()>& ready) = 0;
    // As WaitFor, up to a point of Milliseconds() rather than for a span from now, for a waiter that worked
    // out its deadline from an earlier reading: a clock that steps must not add a step taken before the wait
    // began to it. A clock that runs on by itself has nothing to lose there, so this converts to WaitFor.
    virtual bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t untilMs,
                           const std::function<bool()>& ready);
};

// The installed clock (the system clock unless a test installed another).
Clock& GetClock();
// Installs `clock` for the whole process; nullptr puts the system clock back.
void SetClock(Clock* clock);

// The local time of a calendar second, by the system's time zone.
LocalTime ToLocalTime(int64_t calendarSeconds, int millisecond = 0);

// A clock that moves only when told to. Its local time is its calendar time read as UTC, so tests can name
// a wall-clock moment directly.
class TestClock : public Clock {
public:
    // Starts at `calendarSeconds` (2026-01-05 00:00:00, a Monday, unless given) and millisecond count 0.
    explicit TestClock(int64_t calendarSeconds = 1767571200);

    int64_t CalendarSeconds() override;
    LocalTime Now() override;
    uint64_t Milliseconds() override;
    void Sleep(uint32_t ms) override;
    bool WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                 const std::function<bool()>& ready) override;
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t untilMs,
                   const std::function<bool()>& ready) override;

    // Sleep up to a millisecond count rather than for a span from now, for a clock of tests that must not
    // lose a step that comes while the sleep begins.
    void SleepUntil(uint64_t untilMs);

    // Moves both the calendar and the millisecond count forward and wakes whoever waits for that time.
    void Advance(uint32_t ms);
    // Sets the calendar time without moving the millisecond count.
    void SetCalendarSeconds(int64_t calendarSeconds);
    // The number of threads sleeping or waiting on this clock right now.
    int Waiters();
    // Blocks (in real time, up to `realMs`) until at least `count` threads sleep or wait on this clock.
    bool WaitForWaiters(int count, uint32_t realMs = 5000);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t calendarMs_;
    uint64_t ms_ = 0;
    int waiters_ = 0;
};

}  // namespace kestrova
