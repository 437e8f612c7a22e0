#include "tests/engine/device/kit/stepping_clock.h"

#include <chrono>

namespace kestrova::testing {
namespace {

// Generous: a busy machine (the sanitizer builds' suites run on every core) may keep a worker off the
// processor for a long while, and only a worker that never comes back should fail a test.
constexpr auto kRealLimit = std::chrono::seconds(30);
constexpr auto kPoll = std::chrono::milliseconds(1);

}  // namespace

SteppingClock::SteppingClock(int64_t calendarSeconds) : TestClock(calendarSeconds) {
    SetClock(this);
}

SteppingClock::~SteppingClock() {
    SetClock(nullptr);
}

void SteppingClock::Entered() {
    std::lock_guard<std::mutex> g(mutex_);
    ++waits_;
    entered_.notify_all();
}

// A step may come as soon as a wait is counted, before the wait itself begins: the wait still ends `ms` after
// it was counted, so its end is fixed before counting it.
void SteppingClock::Sleep(uint32_t ms) {
    const uint64_t until = Milliseconds() + ms;
    Entered();
    SleepUntil(until);
}

bool SteppingClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                              uint64_t untilMs, const std::function<bool()>& ready) {
    Entered();
    return TestClock::WaitUntil(lock, cv, untilMs, ready);
}

bool SteppingClock::AwaitWaits(int count, const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + kRealLimit;
    std::unique_lock<std::mutex> g(mutex_);
    const uint64_t target = seen_ + uint64_t(count);
    // `done` reads the device, whose locks a worker may hold while it enters a wait: poll it unlocked.
    for (;;) {
        if (waits_ >= target) {
            seen_ = target;
            return true;
        }
        if (done) {
            g.unlock();
            const bool finished = done();
            g.lock();
            if (finished) {
                seen_ = waits_;
                return true;
            }
        }
        if (std::chrono::steady_clock::now() >= limit) return false;
        entered_.wait_for(g, kPoll);
    }
}

bool SteppingClock::Step(uint32_t ms, int workers, const std::function<bool()>& done) {
    Advance(ms);
    return AwaitWaits(workers, done);
}

}  // namespace kestrova::testing
