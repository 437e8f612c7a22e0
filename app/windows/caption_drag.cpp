#include "app/windows/caption_drag.h"

#include "platform/ui/windows.h"
#include "toolkit/window_frame.h"

namespace kestrova {

LRESULT CaptionHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
    // Signed, for a window on a monitor left of or above the first one.
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &at);
    return hit == HTCLIENT && at.y < toolkit::kFrameDragBand ? HTCAPTION : hit;
}

}  // namespace kestrova
