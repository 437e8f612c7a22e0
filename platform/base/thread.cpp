#include "platform/base/thread.h"

#include "platform/base/clock.h"

namespace kestrova {

bool StopFlag::SleepUnlessStopped(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !GetClock().WaitFor(lock, cv_, ms, [&] { return requested_.load(); });
}

bool StopFlag::SleepUntilUnlessStopped(uint64_t untilMs) {
    if (GetClock().Milliseconds() >= untilMs) return !requested_.load();  // due already: no wait to count
    std::unique_lock<std::mutex> lock(mutex_);
    return !GetClock().WaitUntil(lock, cv_, untilMs, [&] { return requested_.load(); });
}

void StopFlag::Request() {
    std::lock_guard<std::mutex> g(mutex_);
    requested_.store(true);
    cv_.notify_all();
}

void StopFlag::Clear() {
    std::lock_guard<std::mutex> g(mutex_);
    requested_.store(false);
}

Worker::~Worker() { Stop(); }

bool Worker::Start(std::function<void(StopFlag&)> body) {
    if (thread_.joinable()) return false;
    flag_.Clear();
    thread_ = std::thread([this, body = std::move(body)] { body(flag_); });
    return true;
}

void Worker::RequestStop() { flag_.Request(); }

void Worker::Stop() {
    RequestStop();
    if (!OnWorkerThread()) Join();
}

void Worker::Join() {
    if (thread_.joinable() && !OnWorkerThread()) thread_.join();
}

void StartDetached(std::function<void()> body) { std::thread(std::move(body)).detach(); }

}  // namespace kestrova
