#include "tests/support/wait_until.h"

#include <thread>

namespace kestrova::testing {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    // A short poll: the conditions are cheap and the tests should end as soon as they hold.
    constexpr std::chrono::milliseconds kPoll{1};
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return condition();
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

}  // namespace kestrova::testing
