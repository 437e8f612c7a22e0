#include "tests/engine/device/kit/notify_recorder.h"

#include "engine/device_messages.h"
#include "platform/ui/messages.h"

namespace kestrova::testing {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaTestNotifyRecorder";

const wchar_t* RegisteredClass() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    return registered ? kClassName : nullptr;
}

}  // namespace

NotifyRecorder::NotifyRecorder() {
    window_ = CreateWindowExW(0, RegisteredClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
}

NotifyRecorder::~NotifyRecorder() {
    if (window_ != nullptr) DestroyWindow(window_);
}

std::vector<Note> NotifyRecorder::Drain() {
    std::vector<Note> notes;
    MSG msg;
    while (PeekMessageW(&msg, window_, WM_DEVICE_NOTIFY, WM_DEVICE_NOTIFY, PM_REMOVE)) {
        notes.push_back({LOWORD(msg.wParam), HIWORD(msg.wParam), reinterpret_cast<Device*>(msg.lParam)});
    }
    return notes;
}

std::vector<Note> NotifyRecorder::Drain(uint16_t kind) {
    std::vector<Note> all = Drain();
    std::vector<Note> some;
    for (const Note& n : all) {
        if (n.kind == kind) some.push_back(n);
    }
    return some;
}

}  // namespace kestrova::testing
