#include "platform/ui/thread_queue.h"

#include <atomic>
#include <unordered_map>

#include "platform/base/clock.h"
#include "platform/ui/window_table.h"

namespace kestrova::ui {
namespace {

std::atomic<uint64_t> g_nextThreadId{1};

struct Registry {
    std::mutex mutex;
    std::unordered_map<uint64_t, std::weak_ptr<ThreadQueue>> queues;
};

Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

// Owns the calling thread's queue. When the thread ends its windows go, nothing more can be queued for it,
// and every thread still waiting on a message it sent here is answered with 0.
class QueueHolder {
public:
    ~QueueHolder() {
        if (!queue_) return;
        ForgetWindowsOf(queue_.get());
        std::deque<std::shared_ptr<SentMessage>> unanswered;
        {
            std::lock_guard<std::mutex> g(queue_->mutex);
            queue_->alive = false;
            queue_->posted.clear();
            queue_->timers.clear();
            unanswered.swap(queue_->sends);
        }
        for (auto& sent : unanswered) {
            std::lock_guard<std::mutex> g(sent->sender->mutex);
            sent->done = true;
            sent->sender->wake.notify_all();
        }
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> g(r.mutex);
        r.queues.erase(queue_->threadId);
    }

    const std::shared_ptr<ThreadQueue>& Get() {
        if (!queue_) {
            queue_ = std::make_shared<ThreadQueue>(g_nextThreadId.fetch_add(1));
            Registry& r = TheRegistry();
            std::lock_guard<std::mutex> g(r.mutex);
            r.queues[queue_->threadId] = queue_;
        }
        return queue_;
    }

private:
    std::shared_ptr<ThreadQueue> queue_;
};

thread_local QueueHolder t_holder;

}  // namespace

ThreadQueue::Queued ThreadQueue::Queue(const MSG& msg, uint32_t withinMs) {
    std::lock_guard<std::mutex> g(mutex);
    if (!alive) return Queued::kRefused;
    posted.push_back(msg);
    if (withinMs == 0) {
        ++changes;
        return Queued::kWakeDue;
    }
    if (unhurriedDueMs == 0) unhurriedDueMs = NowMs() + withinMs;
    unhurriedSinceWait = true;
    unhurriedWithinMs = withinMs;
    // A loop that wakes by itself in time, or one that is not waiting and looks before it waits, takes it
    // then: only a loop that would sleep past the time is told to shorten its wait.
    return wakesByItselfMs > unhurriedDueMs ? Queued::kWakeDue : Queued::kNoWakeDue;
}

// Woken after the mutex is free, so the waiting thread does not wake only to wait again for it: a frame
// notification from each camera 25 times a second made that a second switch for every message.
void ThreadQueue::Wake() {
    wake.notify_all();
}

bool ThreadQueue::Post(const MSG& msg) {
    const Queued queued = Queue(msg, 0);
    if (queued == Queued::kWakeDue) Wake();
    return queued != Queued::kRefused;
}

void ThreadQueue::NoteChangeLocked() {
    ++changes;
    wake.notify_all();
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
    return t_holder.Get();
}

std::shared_ptr<ThreadQueue> FindQueue(uint64_t threadId) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> g(r.mutex);
    auto it = r.queues.find(threadId);
    return it == r.queues.end() ? nullptr : it->second.lock();
}

std::optional<uint64_t> EarliestTimerDueMs(ThreadQueue& q) {
    std::lock_guard<std::mutex> g(q.mutex);
    std::optional<uint64_t> earliest;
    for (const Timer& t : q.timers)
        if (!earliest || t.dueMs < *earliest) earliest = t.dueMs;
    return earliest;
}

uint64_t NowMs() {
    return GetClock().Milliseconds();
}

}  // namespace kestrova::ui
