#pragma once
// The one real-time wait of the tests: for what another thread or process does on its own time (a file a
// child process writes, a mail a server accepts, a frame a capture thread delivers). Work that runs on the
// layer's clock is stepped with a test clock instead, and "nothing happened" is proven by a sentinel that
// does happen after it, never by waiting a while.

#include <chrono>
#include <functional>

namespace kestrova::testing {

inline constexpr std::chrono::milliseconds kPatience{20000};

// Polls `condition` until it holds (true) or `deadline` from now has passed (false, after one last look).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = kPatience);

}  // namespace kestrova::testing
