#pragma once
// The window that stands for the main window in the camera benchmarks: a message-only window whose messages
// the benchmark takes itself.

#include "platform/ui/messages.h"

namespace kestrova::bench {

inline HWND MakeNotifyWindow() {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"KestrovaBenchNotify";
    RegisterClassW(&windowClass);  // a second window finds the class registered already
    return CreateWindowExW(0, L"KestrovaBenchNotify", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
}

}  // namespace kestrova::bench
