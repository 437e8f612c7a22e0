#include "platform/media/media_events.h"

#include "platform/base/clock.h"
#include "platform/ui/messages.h"

namespace kestrova::media {

HRESULT MediaEventQueue::SetNotifyWindow(HWND window, UINT message, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    window_ = window;
    message_ = message;
    lParam_ = lParam;
    return S_OK;
}

HRESULT MediaEventQueue::GetEvent(long* code, intptr_t* param1, intptr_t* param2, long timeoutMs) {
    if (!code || !param1 || !param2) return E_POINTER;
    std::unique_lock<std::mutex> lock(mutex_);
    if (events_.empty() && timeoutMs > 0) {
        GetClock().WaitFor(lock, arrived_, uint32_t(timeoutMs), [&] { return !events_.empty(); });
    }
    if (events_.empty()) return E_ABORT;
    const Event event = events_.front();
    events_.pop_front();
    *code = event.code;
    *param1 = event.param1;
    *param2 = event.param2;
    return S_OK;
}

HRESULT MediaEventQueue::FreeEventParams(long, intptr_t, intptr_t) {
    return S_OK;
}

void MediaEventQueue::Notify(long code, intptr_t param1, intptr_t param2) {
    HWND window;
    UINT message;
    LPARAM lParam;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back({code, param1, param2});
        window = window_;
        message = message_;
        lParam = lParam_;
    }
    arrived_.notify_all();
    if (window) PostMessageW(window, message, 0, lParam);
}

}  // namespace kestrova::media
