#include "app/caption_band.h"

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"
#include "toolkit/window_frame.h"

namespace kestrova {

LRESULT CaptionBandHitTest(HWND window, WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = DefWindowProcW(window, WM_NCHITTEST, wParam, lParam);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &at);
    return hit == HTCLIENT && at.y < toolkit::kFrameDragBand ? HTCAPTION : hit;
}

}  // namespace kestrova
