#pragma once
// Events of a filter graph: filters queue them from any thread; each queued event posts the notify window's
// message, and the window's owner drains the queue with GetEvent and FreeEventParams.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/media/results.h"
#include "platform/ui/types.h"

namespace kestrova::media {

inline constexpr long EC_COMPLETE = 0x01;
inline constexpr long EC_USERABORT = 0x02;
inline constexpr long EC_ERRORABORT = 0x03;  // param1: the failure result
inline constexpr long EC_PAUSED = 0x0E;
inline constexpr long EC_DEVICE_LOST = 0x1F;  // param2: 0 when the device went away

class IMediaEventEx {
public:
    virtual ~IMediaEventEx() = default;
    // Every event queued from now on posts `message` with wParam 0 and `lParam` to `window`; a null window
    // posts nothing.
    virtual HRESULT SetNotifyWindow(HWND window, UINT message, LPARAM lParam) = 0;
    // Takes the oldest event; E_ABORT when none arrives within `timeoutMs` (0: do not wait).
    virtual HRESULT GetEvent(long* code, intptr_t* param1, intptr_t* param2, long timeoutMs) = 0;
    // Releases what an event's parameters hold (nothing, for the events of this layer).
    virtual HRESULT FreeEventParams(long code, intptr_t param1, intptr_t param2) = 0;
};

class MediaEventQueue : public IMediaEventEx {
public:
    HRESULT SetNotifyWindow(HWND window, UINT message, LPARAM lParam) override;
    HRESULT GetEvent(long* code, intptr_t* param1, intptr_t* param2, long timeoutMs) override;
    HRESULT FreeEventParams(long code, intptr_t param1, intptr_t param2) override;

    // Queues an event and posts the notify message.
    void Notify(long code, intptr_t param1, intptr_t param2);

private:
    struct Event {
        long code;
        intptr_t param1;
        intptr_t param2;
    };

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> events_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    LPARAM lParam_ = 0;
};

}  // namespace kestrova::media
