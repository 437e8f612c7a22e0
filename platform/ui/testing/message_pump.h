#pragma once
// Test helpers that run the calling thread's messages without blocking.

#include <cstdint>

#include "platform/base/clock.h"

namespace kestrova::uitest {

struct PumpResult {
    int dispatched = 0;  // messages taken and dispatched
    bool quit = false;   // the pump stopped at WM_QUIT
    int exitCode = 0;    // its exit code
};

// Handles what was sent to this thread and dispatches every waiting message (due timers too) until nothing is
// left or WM_QUIT comes up, which stays queued for the loop it belongs to.
PumpResult PumpMessages();

// Dispatches this thread's next message, if there is one other than WM_QUIT; whether it did. For a wait that
// looks at its condition after every message, as a thread busy with live pictures may never run out of them.
bool DispatchOneMessage();

// Moves `clock` forward by `ms`, stopping at each timer's due time on the way and pumping there, so every
// tick within the span fires as it would in real time. Stops early when the pump meets WM_QUIT.
PumpResult AdvanceClock(TestClock& clock, uint32_t ms);

}  // namespace kestrova::uitest
