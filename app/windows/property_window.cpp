#include "app/windows/property_window.h"

#include "app/windows/property_frame.h"
#include "platform/shell/modal_window.h"
#include "toolkit/window_frame.h"

namespace kestrova {
namespace {

// Where a `size` window stands centred on `owner`, or on the screen without one.
POINT CentredOn(HWND owner, SIZE size) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    return POINT{area.left + (area.right - area.left - size.cx) / 2,
                 area.top + (area.bottom - area.top - size.cy) / 2};
}

}  // namespace

uint16_t RegisterPropertyWindowClass(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = toolkit::kObjectExtraBytes;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc);
}

int ShowPropertyWindow(const wchar_t* className, HWND owner, void* record, SIZE size) {
    int result = kPropertyCancelled;
    PropertyWindowCreation creation;
    creation.record = record;
    creation.ownerToEnable = owner && IsWindowEnabled(owner) ? owner : nullptr;
    creation.result = &result;
    const POINT at = CentredOn(owner, size);
    HWND window = CreateWindowExW(0, className, L"", WS_POPUP, at.x, at.y, size.cx, size.cy, owner, 0,
                                  nullptr, &creation);
    if (!window) return kPropertyCancelled;
    toolkit::RoundWindowCorners(window, size.cx, size.cy);
    UpdateWindow(window);
    ShowWindow(window, SW_SHOW);
    // The loop ends when the window is gone, whatever closed it; it ends early only for a quit, which it
    // leaves queued for the loop it belongs to, so the window is closed here.
    if (!RunModal(window, owner, [window] { return !IsWindow(window); }) && IsWindow(window))
        SendMessageW(window, WM_CLOSE, 0, 0);
    return result;
}

}  // namespace kestrova
