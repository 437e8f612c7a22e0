#pragma once
// A thread's message queue: the messages posted to it, the messages other threads send to its windows, its
// timers and its quit flag. Every queue has its own mutex; code that also needs the window table takes the
// table's lock first, never the other way round.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova::ui {

class ThreadQueue;

// A message sent from another thread, waiting to be handled by the window's thread.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;  // guarded by the sender's queue mutex
    std::shared_ptr<ThreadQueue> sender;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    uint32_t intervalMs = 0;
    uint64_t dueMs = 0;
    TIMERPROC proc = nullptr;
};

class ThreadQueue {
public:
    explicit ThreadQueue(uint64_t threadId) : threadId(threadId) {}

    const uint64_t threadId;
    std::mutex mutex;
    std::condition_variable wake;  // notified whenever anything below changes (by Post just after `mutex`)
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> sends;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
    bool alive = true;            // false once the thread has ended: nothing more is queued
    bool paintRequested = false;  // a window of the thread may need painting
    uint64_t changes = 0;         // counts changes, so a waiting thread looks again at its time-out
    // The time by which the loop must look at the unhurried messages queued since it last looked; 0: none.
    uint64_t unhurriedDueMs = 0;
    // Whether unhurried messages came since the loop last waited, and how long the last one may wait.
    bool unhurriedSinceWait = false;
    uint32_t unhurriedWithinMs = 0;
    // While a loop waits: when it looks again without being woken (UINT64_MAX: never); 0 while none waits.
    uint64_t wakesByItselfMs = 0;
    // Called by a loop that is about to wait; returns true when it did something worth looking at again.
    std::function<bool()> idleHook;

    enum class Queued { kRefused, kWakeDue, kNoWakeDue };
    // Queues `msg` without waking the thread; kRefused when the thread has ended. With `withinMs` 0 a
    // waiting loop must be woken (Wake) at once; otherwise it may sleep on for up to that long and take the
    // message then, or with whatever wakes it first, so kWakeDue only when it would sleep longer. Takes the
    // queue mutex.
    Queued Queue(const MSG& msg, uint32_t withinMs);
    // Wakes a waiting loop. Called after Queue once the caller's locks are free, so that the loop does not
    // wake only to wait for one of them.
    void Wake();
    // Queue and Wake: false when the thread has ended.
    bool Post(const MSG& msg);
    // Wakes a waiting loop so it looks at its timers again. Call with `mutex` held.
    void NoteChangeLocked();
};

// The calling thread's queue, made on first use and released (with the thread's windows) when it ends.
std::shared_ptr<ThreadQueue> CurrentQueue();
// The queue of a live thread by its id, or null.
std::shared_ptr<ThreadQueue> FindQueue(uint64_t threadId);

// When the earliest timer of `q` falls due, if it has any.
std::optional<uint64_t> EarliestTimerDueMs(ThreadQueue& q);

// The time of the installed clock, as messages carry it.
uint64_t NowMs();

}  // namespace kestrova::ui
