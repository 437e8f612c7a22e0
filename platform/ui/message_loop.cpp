// Posting, sending, and the loop's side: getting, peeking and dispatching messages.
//
// A thread looks for its next message in the platform's order: first it handles what other threads have sent
// to its windows, then it takes the oldest matching posted message (input included), then the quit message
// once nothing is posted, then WM_PAINT for a window that needs it, and last a due timer.

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/base/event.h"
#include "platform/ui/messages.h"
#include "platform/ui/window_tree.h"

namespace kestrova::ui {
namespace {

// Which messages a loop asks for: a window (with its descendants) or any, and a range of numbers.
class Filter {
public:
    Filter(HWND hwnd, UINT min, UINT max) : min_(min), max_(max) {
        if (!hwnd) return;
        anyWindow_ = false;
        TableLock lock = LockTable();
        windows_ = SelfAndDescendantsLocked(hwnd);
    }

    bool Valid() const { return anyWindow_ || !windows_.empty(); }

    bool Matches(HWND hwnd, UINT message) const {
        if (!anyWindow_ && std::find(windows_.begin(), windows_.end(), hwnd) == windows_.end()) return false;
        return InRange(message);
    }

    bool InRange(UINT message) const {
        return (min_ == 0 && max_ == 0) || (message >= min_ && message <= max_);
    }

private:
    bool anyWindow_ = true;
    std::vector<HWND> windows_;
    UINT min_, max_;
};

MSG Stamp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = DWORD(NowMs());
    return m;
}

void Answer(const std::shared_ptr<SentMessage>& sent, LRESULT result) {
    std::lock_guard<std::mutex> g(sent->sender->mutex);
    sent->result = result;
    sent->done = true;
    sent->sender->wake.notify_all();
}

// Handles one message another thread sent here; false when none waits.
bool HandleOneIncomingSend(ThreadQueue& q, std::unique_lock<std::mutex>& held) {
    if (q.sends.empty()) return false;
    auto sent = q.sends.front();
    q.sends.pop_front();
    held.unlock();
    Answer(sent, CallWindow(sent->hwnd, sent->message, sent->wParam, sent->lParam));
    held.lock();
    return true;
}

void HandleIncomingSends(ThreadQueue& q) {
    std::unique_lock<std::mutex> held(q.mutex);
    while (HandleOneIncomingSend(q, held)) {
    }
}

// The earliest timer of `q` that is due at `now` and matches; call with the queue's mutex held.
Timer* DueTimerLocked(ThreadQueue& q, const Filter& f, uint64_t now) {
    Timer* due = nullptr;
    for (Timer& t : q.timers)
        if (t.dueMs <= now && f.Matches(t.hwnd, WM_TIMER) && (!due || t.dueMs < due->dueMs)) due = &t;
    return due;
}

bool TakePosted(ThreadQueue& q, const Filter& f, MSG* out, bool remove) {
    std::lock_guard<std::mutex> g(q.mutex);
    auto it = std::find_if(q.posted.begin(), q.posted.end(),
                           [&](const MSG& m) { return f.Matches(m.hwnd, m.message); });
    if (it != q.posted.end()) {
        *out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quit && f.InRange(WM_QUIT)) {
        *out = Stamp(nullptr, WM_QUIT, WPARAM(q.quitCode), 0);
        if (remove) q.quit = false;
        return true;
    }
    return false;
}

// WM_PAINT is made up when nothing is posted: it stays until the window validates what it has to paint.
bool TakePaint(ThreadQueue& q, const Filter& f, MSG* out) {
    if (!f.InRange(WM_PAINT)) return false;
    TableLock lock = LockTable();
    Window* w = FindWindowToPaintLocked(&q, [&](HWND h) { return f.Matches(h, WM_PAINT); });
    if (!w) return false;
    *out = Stamp(w->handle, WM_PAINT, 0, 0);
    return true;
}

bool TakeTimer(ThreadQueue& q, const Filter& f, MSG* out, bool remove) {
    uint64_t now = NowMs();
    std::lock_guard<std::mutex> g(q.mutex);
    if (Timer* t = DueTimerLocked(q, f, now)) {
        *out = Stamp(t->hwnd, WM_TIMER, t->id, reinterpret_cast<LPARAM>(t->proc));
        // A timer that fell behind fires once, not once for every period it missed.
        if (remove) t->dueMs = now + t->intervalMs;
        return true;
    }
    return false;
}

bool NextMessage(ThreadQueue& q, const Filter& f, MSG* out, bool remove) {
    HandleIncomingSends(q);
    return TakePosted(q, f, out, remove) || TakePaint(q, f, out) || TakeTimer(q, f, out, remove);
}

// What the loop has seen of its queue, taken before it looks for a message: a change after this wakes the
// wait that may follow, and unhurried messages queued before it are taken in this look.
uint64_t StartLooking(ThreadQueue& q) {
    std::lock_guard<std::mutex> g(q.mutex);
    q.unhurriedDueMs = 0;
    return q.changes;
}

// When the loop must look again by itself: at `until` or the earliest matching timer or unhurried deadline
// (kInfinite: never); 0 when that is now. Call with the queue's mutex held.
uint32_t WaitLimitLocked(ThreadQueue& q, const Filter& f, uint64_t now, uint64_t until) {
    if (q.unhurriedDueMs != 0) until = std::min(until, q.unhurriedDueMs);
    for (const Timer& t : q.timers)
        if (f.Matches(t.hwnd, WM_TIMER)) until = std::min(until, t.dueMs);
    if (until == UINT64_MAX) return kInfinite;
    return until <= now ? 0 : uint32_t(std::min<uint64_t>(until - now, kInfinite - 1));
}

// Waits on the installed clock until something may have arrived for this thread since `seen`: a change to
// its queue, a message sent to it, a timer falling due, or the time an unhurried message may wait. An
// unhurried message that shortens that time only has the wait planned again.
void WaitForMore(ThreadQueue& q, const Filter& f, uint64_t seen) {
    std::unique_lock<std::mutex> lock(q.mutex);
    // Unhurried messages that came since the last wait are likely to go on coming (a camera's frames): the
    // loop then wakes by itself in time for the next one, so that its poster need not wake it to say when.
    const uint64_t flowUntil = q.unhurriedSinceWait ? NowMs() + q.unhurriedWithinMs : UINT64_MAX;
    q.unhurriedSinceWait = false;
    for (;;) {
        if (q.changes != seen || !q.sends.empty() || q.paintRequested) return;
        const uint64_t now = NowMs();
        const uint32_t timeout = WaitLimitLocked(q, f, now, flowUntil);
        if (timeout == 0) return;
        q.wakesByItselfMs = timeout == kInfinite ? UINT64_MAX : now + timeout;
        const bool woken = GetClock().WaitUntil(lock, q.wake, q.wakesByItselfMs, [&] {
            return q.changes != seen || !q.sends.empty() || DueTimerLocked(q, f, NowMs()) != nullptr ||
                   (q.unhurriedDueMs != 0 && q.unhurriedDueMs < q.wakesByItselfMs);
        });
        q.wakesByItselfMs = 0;
        if (!woken) return;  // its time came
    }
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hwnd) return CurrentQueue()->Post(Stamp(nullptr, msg, wParam, lParam));
    return PostUnhurriedMessage(hwnd, msg, wParam, lParam, 0);
}

BOOL kestrova::ui::PostUnhurriedMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, uint32_t withinMs) {
    std::shared_ptr<ThreadQueue> queue;
    ThreadQueue::Queued queued;
    {
        // The table stays locked while the message is queued, so a window being destroyed on its own thread
        // cannot miss it when it clears its messages. The thread is woken once the table is free, as the
        // first thing it does with the message needs the table too.
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w) return FALSE;
        queue = w->queue;
        queued = queue->Queue(Stamp(hwnd, msg, wParam, lParam), withinMs);
    }
    if (queued == ThreadQueue::Queued::kWakeDue) queue->Wake();
    return queued != ThreadQueue::Queued::kRefused;
}

BOOL PostThreadMessageW(uint64_t threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto q = FindQueue(threadId);
    return q && q->Post(Stamp(nullptr, msg, wParam, lParam));
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadQueue> target;
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w) return 0;
        target = w->queue;
    }
    auto me = CurrentQueue();
    if (target == me) return CallWindow(hwnd, msg, wParam, lParam);

    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = msg;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = me;
    {
        std::lock_guard<std::mutex> g(target->mutex);
        if (!target->alive) return 0;
        target->sends.push_back(sent);
        target->NoteChangeLocked();
    }
    // While waiting for the answer, handle what others send here, so two threads sending to each other
    // do not wait for ever.
    std::unique_lock<std::mutex> lock(me->mutex);
    for (;;) {
        me->wake.wait(lock, [&] { return sent->done || !me->sends.empty(); });
        if (sent->done) return sent->result;
        HandleOneIncomingSend(*me, lock);
    }
}

BOOL GetMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) return -1;
    Filter filter(hwnd, filterMin, filterMax);
    if (!filter.Valid()) return -1;
    auto q = CurrentQueue();
    for (;;) {
        const uint64_t seen = StartLooking(*q);
        if (NextMessage(*q, filter, msg, true)) return msg->message == WM_QUIT ? 0 : 1;
        if (q->idleHook && q->idleHook()) continue;
        WaitForMore(*q, filter, seen);
    }
}

BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) return FALSE;
    Filter filter(hwnd, filterMin, filterMax);
    if (!filter.Valid()) return FALSE;
    return NextMessage(*CurrentQueue(), filter, msg, (removeFlags & PM_REMOVE) != 0);
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(msg->hwnd);
        if (!w || w->queue != CurrentQueue()) return 0;
    }
    return CallWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
    auto q = CurrentQueue();
    std::lock_guard<std::mutex> g(q->mutex);
    q->quit = true;
    q->quitCode = exitCode;
    q->NoteChangeLocked();
}

uint64_t GetCurrentThreadId() {
    return CurrentQueue()->threadId;
}
