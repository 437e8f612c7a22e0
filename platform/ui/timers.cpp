// Timers: each belongs to the queue of its window's thread (or of the calling thread when it has no window)
// and falls due on the installed clock; the loop turns a due timer into WM_TIMER.

#include <algorithm>

#include "platform/ui/messages.h"
#include "platform/ui/window_table.h"

namespace kestrova::ui {
namespace {

// The platform's shortest period; shorter requests are raised to it.
constexpr uint32_t kMinimumIntervalMs = 10;

// The queue that holds the timers of `hwnd`, or null when the window is gone. Call with the table locked.
std::shared_ptr<ThreadQueue> TimerQueueLocked(HWND hwnd) {
    if (!hwnd) return CurrentQueue();
    Window* w = FindWindowLocked(hwnd);
    return w ? w->queue : nullptr;
}

// An id no timer without a window of `q` uses yet. Call with the queue's mutex held.
UINT_PTR FreeThreadTimerIdLocked(const ThreadQueue& q) {
    for (UINT_PTR id = 1;; ++id)
        if (std::none_of(q.timers.begin(), q.timers.end(),
                         [&](const Timer& t) { return !t.hwnd && t.id == id; }))
            return id;
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    // The table stays locked so the window cannot be released between the check and the new timer.
    TableLock lock = LockTable();
    auto q = TimerQueueLocked(hwnd);
    if (!q) return 0;
    std::lock_guard<std::mutex> g(q->mutex);
    auto it = std::find_if(q->timers.begin(), q->timers.end(),
                           [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (!hwnd && (id == 0 || it == q->timers.end())) {
        id = FreeThreadTimerIdLocked(*q);
        it = q->timers.end();
    }
    if (it == q->timers.end()) it = q->timers.insert(q->timers.end(), Timer{});
    it->hwnd = hwnd;
    it->id = id;
    it->intervalMs = std::max(elapseMs, kMinimumIntervalMs);
    it->dueMs = NowMs() + it->intervalMs;
    it->proc = proc;
    q->NoteChangeLocked();
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    TableLock lock = LockTable();
    auto q = TimerQueueLocked(hwnd);
    if (!q) return FALSE;
    std::lock_guard<std::mutex> g(q->mutex);
    size_t removed = std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (removed) q->NoteChangeLocked();
    return removed ? TRUE : FALSE;
}
