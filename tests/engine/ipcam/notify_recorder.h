#pragma once
// A message-only window that stands for the main window in the camera tests: it keeps every device
// notification posted to it, in order.

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "engine/device_messages.h"
#include "platform/ui/messages.h"

namespace kestrova::testing {

struct Notification {
    uint16_t kind;
    uint16_t argument;
    bool operator==(const Notification&) const = default;
};

class NotifyRecorder {
public:
    NotifyRecorder() {
        WNDCLASSW windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = L"KestrovaTestNotify";
        RegisterClassW(&windowClass);  // a second recorder finds the class registered already
        window_ = CreateWindowExW(0, L"KestrovaTestNotify", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
    }
    ~NotifyRecorder() { DestroyWindow(window_); }
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    HWND Window() const { return window_; }

    // Takes what was posted so far and returns everything received.
    const std::vector<Notification>& Drain() {
        MSG msg;
        while (PeekMessageW(&msg, window_, WM_DEVICE_NOTIFY, WM_DEVICE_NOTIFY, PM_REMOVE)) {
            received_.push_back({uint16_t(msg.wParam & 0xFFFF), uint16_t(msg.wParam >> 16)});
        }
        return received_;
    }
    // Forgets everything received so far, including what is still queued.
    void Clear() {
        Drain();
        received_.clear();
    }
    int Count(uint16_t kind) {
        int count = 0;
        for (const Notification& n : Drain()) count += n.kind == kind ? 1 : 0;
        return count;
    }
    // Drains until `ready` holds or `limit` (real time) passed; returns `ready`'s last answer.
    bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            Drain();
            if (ready()) return true;
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

private:
    HWND window_ = nullptr;
    std::vector<Notification> received_;
};

}  // namespace kestrova::testing
