#include "toolkit/hover.h"

#include "platform/ui/messages.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"

namespace kestrova::toolkit {

CursorPlace CursorOn(HWND control) {
    CursorPlace place;
    POINT screen;
    GetCursorPos(&screen);
    place.overControl = WindowFromPoint(screen) == control;
    place.client = screen;
    ScreenToClient(control, &place.client);
    return place;
}

bool Hover::Enter(HWND control, bool over) {
    if (on_ || !over) return false;
    on_ = true;
    InvalidateRect(control, nullptr, FALSE);
    SetTimer(control, kHoverTimer, kHoverPollMs, nullptr);
    return true;
}

bool Hover::Poll(HWND control, bool over) {
    if (over) return false;
    End(control);
    return true;
}

void Hover::End(HWND control) {
    on_ = false;
    InvalidateRect(control, nullptr, FALSE);
    KillTimer(control, kHoverTimer);
}

bool TrackHover(Hover& hover, HWND control, UINT msg, WPARAM wParam) {
    if (msg == WM_MOUSEMOVE) {
        hover.Enter(control, CursorOn(control).overControl);
        return true;
    }
    if (msg == WM_TIMER && wParam == kHoverTimer) {
        hover.Poll(control, CursorOn(control).overControl);
        return true;
    }
    return false;
}

}  // namespace kestrova::toolkit
