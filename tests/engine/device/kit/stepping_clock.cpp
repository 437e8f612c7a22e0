#include "tests/engine/device/kit/stepping_clock.h"

#include <chrono>

namespace kestrova::testing {
namespace {

constexpr auto kRealLimit = std::chrono::seconds(10);
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

void SteppingClock::Sleep(uint32_t ms) {
    Entered();
    TestClock::Sleep(ms);
}

bool SteppingClock::WaitFor(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, uint32_t ms,
                            const std::function<bool()>& ready) {
    Entered();
    return TestClock::WaitFor(lock, cv, ms, ready);
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
