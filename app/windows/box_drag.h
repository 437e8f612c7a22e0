#pragma once
// What the mask and schedule windows share in dragging over a box of their client area (the picture, the
// week grid): where the pointer is, the box's hit test and clamp, and the messages of a drag sent to the
// window's handlers. Both take the pointer from the cursor rather than from the message, and both watch
// with timer `kBoxLeaveTimer` for the pointer leaving the box.

#include "platform/ui/messages.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr UINT_PTR kBoxLeaveTimer = 100;
inline constexpr UINT kBoxLeavePeriodMs = 10;

// The cursor in `window`'s client coordinates.
POINT CursorInClient(HWND window);
// Right and bottom are outside the box.
bool InBox(const RECT& box, POINT p);
POINT ClampIntoBox(const RECT& box, POINT p);

// Sends a drag's messages to `window`'s OnButtonDown, OnMouseMove, OnButtonUp(bool left), OnLeaveTimer and
// OnCaptureChanged; false for any other message.
template <class Window>
bool DispatchBoxDrag(Window& window, UINT msg, WPARAM wParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            window.OnButtonDown();
            return true;
        case WM_MOUSEMOVE:
            window.OnMouseMove();
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            window.OnButtonUp(msg == WM_LBUTTONUP);
            return true;
        case WM_TIMER:
            if (wParam == kBoxLeaveTimer) window.OnLeaveTimer();
            return true;
        case WM_CAPTURECHANGED:
            window.OnCaptureChanged();
            return true;
    }
    return false;
}

}  // namespace kestrova
