#pragma once
// An event that threads wait on, with a time-out measured by the installed clock.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace kestrova {

inline constexpr uint32_t kInfinite = 0xFFFFFFFF;

class Event {
public:
    // A manual-reset event stays set until Reset; an auto-reset one wakes one waiter and clears itself.
    explicit Event(bool manualReset = true, bool initiallySet = false);

    void Set();
    void Reset();
    bool IsSet();
    // Returns true when the event was set within `ms` (kInfinite waits without a time-out).
    bool Wait(uint32_t ms = kInfinite);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool manualReset_;
    bool set_;
};

}  // namespace kestrova
