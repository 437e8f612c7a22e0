#pragma once
// Worker threads. A worker is started with a stop flag that its body polls; stopping sets the flag, wakes the
// worker from its clock sleep and joins it without a time-out.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrova {

class StopFlag {
public:
    bool Requested() const { return requested_.load(); }
    // Sleeps `ms` on the installed clock, or less when a stop is requested; returns false when it was.
    bool SleepUnlessStopped(uint32_t ms);
    // As SleepUnlessStopped, up to a point of the installed clock's Milliseconds(); a point already passed
    // returns at once, without a wait.
    bool SleepUntilUnlessStopped(uint64_t untilMs);

private:
    friend class Worker;
    void Request();
    void Clear();

    std::atomic<bool> requested_{false};
    std::mutex mutex_;
    std::condition_variable cv_;
};

class Worker {
public:
    Worker() = default;
    ~Worker();  // stops and joins
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts `body` on a new thread; returns false when a thread of this worker runs already.
    bool Start(std::function<void(StopFlag&)> body);
    // Asks the body to end and waits for it. Safe to call when nothing runs, and from the body's own thread
    // (it then only asks).
    void Stop();
    // Asks without waiting.
    void RequestStop();
    // Waits for the body to end (it may end by itself).
    void Join();
    bool Running() const { return thread_.joinable(); }
    bool OnWorkerThread() const { return thread_.get_id() == std::this_thread::get_id(); }

private:
    std::thread thread_;
    StopFlag flag_;
};

// Starts `body` on a thread of its own that nobody joins.
void StartDetached(std::function<void()> body);

}  // namespace kestrova
