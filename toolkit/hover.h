#pragma once
// Hover tracking for the controls that light up under the cursor (button, check box and radio, link, menu).
// The window system sends no message when the cursor leaves, so the first mouse move over a control sets
// its hover flag and starts a 10 ms timer whose ticks ask whether the cursor is still over it.

#include "platform/ui/types.h"

namespace kestrova::toolkit {

inline constexpr UINT_PTR kHoverTimer = 100;
inline constexpr UINT kHoverPollMs = 10;

// The cursor as a control sees it: where it is in the control's client area, and whether the control is the
// window under it (another window over the control, or the cursor outside it, makes that false).
struct CursorPlace {
    POINT client;
    bool overControl = false;
};
CursorPlace CursorOn(HWND control);

class Hover {
public:
    bool IsOn() const { return on_; }

    // On WM_MOUSEMOVE: when not hovered and `over`, sets the flag, invalidates the control and starts the
    // timer. True when the hover began.
    bool Enter(HWND control, bool over);
    // On a tick of the hover timer: when no longer `over`, ends the hover. True when it ended.
    bool Poll(HWND control, bool over);
    // Clears the flag, invalidates the control and kills the timer.
    void End(HWND control);

private:
    bool on_ = false;
};

// For a control that is hovered whenever it is the window under the cursor (check box and radio, link,
// menu): handles WM_MOUSEMOVE and the hover timer's ticks. True when `msg` was one of them.
bool TrackHover(Hover& hover, HWND control, UINT msg, WPARAM wParam);

}  // namespace kestrova::toolkit
