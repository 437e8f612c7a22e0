#pragma once
// How the controls tell their parent (GetParent) what happened, always synchronously with SendMessageW:
// WM_COMMAND for a click or a changed value, and WM_NOTIFY, which only the button sends, for the cursor
// resting on it or leaving it.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

// What WM_NOTIFY's lParam points to.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

}  // namespace kestrova

namespace kestrova::toolkit {

// WM_COMMAND with wParam = MAKEWPARAM(the control's id, code) and lParam = the control.
void SendCommand(HWND control, uint16_t code = 0);
// WM_NOTIFY with wParam = the control's id and lParam = an NMHDR naming the control.
void SendNotify(HWND control, UINT code);

}  // namespace kestrova::toolkit
