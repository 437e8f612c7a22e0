#pragma once
// A test clock, installed for its lifetime, that lets a test move the device workers' time one step at a
// time: it counts the waits the workers enter, so a step returns once each worker has done the work the step
// woke it for and waits again.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/base/clock.h"

namespace kestrova::testing {

class SteppingClock : public TestClock {
public:
    explicit SteppingClock(int64_t calendarSeconds = 1767571200);  // Monday 2026-01-05 00:00:00
    ~SteppingClock() override;

    void Sleep(uint32_t ms) override;
    // Every wait, for a span or up to a point, comes here with its end fixed (TestClock's WaitFor fixes it
    // before it calls this), and is counted.
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint64_t untilMs,
                   const std::function<bool()>& ready) override;

    // Waits (in real time, up to 30 s) until `count` more waits than so far were entered, or until `done`
    // holds; false on time-out.
    bool AwaitWaits(int count, const std::function<bool()>& done = {});
    // Advances by `ms` and waits until `workers` workers wait again (or `done` holds).
    bool Step(uint32_t ms, int workers = 1, const std::function<bool()>& done = {});

private:
    void Entered();

    std::mutex mutex_;
    std::condition_variable entered_;
    uint64_t waits_ = 0;
    uint64_t seen_ = 0;  // waits accounted for by earlier AwaitWaits and Step calls
};

}  // namespace kestrova::testing
