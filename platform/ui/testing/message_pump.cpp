#include "platform/ui/testing/message_pump.h"

#include "platform/ui/backend.h"
#include "platform/ui/backends/headless/headless_backend.h"
#include "platform/ui/messages.h"
#include "platform/ui/thread_queue.h"

namespace kestrova::uitest {
namespace {

// Tests play the user themselves, so their desktop stays headless whatever display the environment names; a
// test of a real backend installs it explicitly.
[[maybe_unused]] const bool g_headless = [] {
    ui::UseBackend(std::make_unique<ui::HeadlessBackend>(/*driven=*/true));
    return true;
}();

void Add(PumpResult& total, const PumpResult& step) {
    total.dispatched += step.dispatched;
    total.quit = step.quit;
    total.exitCode = step.exitCode;
}

}  // namespace

bool DispatchOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) || msg.message == WM_QUIT) return false;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

PumpResult PumpMessages() {
    PumpResult result;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (msg.message == WM_QUIT) {
            result.quit = true;
            result.exitCode = int(msg.wParam);
            break;
        }
        if (!DispatchOneMessage()) break;
        ++result.dispatched;
    }
    return result;
}

PumpResult AdvanceClock(TestClock& clock, uint32_t ms) {
    PumpResult total = PumpMessages();
    const uint64_t end = clock.Milliseconds() + ms;
    while (!total.quit) {
        uint64_t now = clock.Milliseconds();
        auto due = ui::EarliestTimerDueMs(*ui::CurrentQueue());
        uint64_t next = due && *due > now ? std::min(*due, end) : end;
        if (next > now) clock.Advance(uint32_t(next - now));
        Add(total, PumpMessages());
        if (next >= end) break;
    }
    return total;
}

}  // namespace kestrova::uitest
