#include "platform/base/event.h"

#include "platform/base/clock.h"

namespace kestrova {

Event::Event(bool manualReset, bool initiallySet) : manualReset_(manualReset), set_(initiallySet) {}

void Event::Set() {
    std::lock_guard<std::mutex> g(mutex_);
    set_ = true;
    if (manualReset_) {
        cv_.notify_all();
    } else {
        cv_.notify_one();
    }
}

void Event::Reset() {
    std::lock_guard<std::mutex> g(mutex_);
    set_ = false;
}

bool Event::IsSet() {
    std::lock_guard<std::mutex> g(mutex_);
    return set_;
}

bool Event::Wait(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    bool got;
    if (ms == kInfinite) {
        cv_.wait(lock, [&] { return set_; });
        got = true;
    } else {
        got = GetClock().WaitFor(lock, cv_, ms, [&] { return set_; });
    }
    if (got && !manualReset_) set_ = false;
    return got;
}

}  // namespace kestrova
