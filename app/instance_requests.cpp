#include "app/instance_requests.h"

#include "platform/ui/messages.h"
#include "toolkit/tray_icon.h"

namespace kestrova {

void InstanceRequests::Take(InstanceRequest request) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (request == InstanceRequest::kShow) {
        showAsked_ = true;
        PostShowLocked();
        return;
    }
    closeAsked_ = true;
    // Wakes the loop, which looks for the request after the message.
    if (mainWindow_ != nullptr) PostMessageW(mainWindow_, WM_NULL, 0, 0);
}

void InstanceRequests::Attach(HWND mainWindow) {
    std::lock_guard<std::mutex> lock(mutex_);
    mainWindow_ = mainWindow;
    PostShowLocked();
    if (closeAsked_) PostMessageW(mainWindow_, WM_NULL, 0, 0);
}

void InstanceRequests::PostShowLocked() {
    if (!showAsked_ || mainWindow_ == nullptr) return;
    showAsked_ = false;
    PostMessageW(mainWindow_, kTrayIconMessage, 0, WM_LBUTTONDOWN);
}

bool InstanceRequests::CloseIfAsked() {
    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!closeAsked_ || mainWindow_ == nullptr) return false;
        closeAsked_ = false;
        window = mainWindow_;
    }
    if (!IsWindow(window)) return false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

int RunMessageLoop(InstanceRequests& requests) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        requests.CloseIfAsked();
    }
    return int(msg.wParam);
}

}  // namespace kestrova
