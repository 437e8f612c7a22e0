#include "toolkit/notify.h"

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"

namespace kestrova::toolkit {

void SendCommand(HWND control, uint16_t code) {
    if (HWND parent = GetParent(control))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(control)), code),
                     reinterpret_cast<LPARAM>(control));
}

void SendNotify(HWND control, UINT code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    NMHDR header;
    header.hwndFrom = control;
    header.idFrom = UINT_PTR(GetDlgCtrlID(control));
    header.code = code;
    SendMessageW(parent, WM_NOTIFY, WPARAM(header.idFrom), reinterpret_cast<LPARAM>(&header));
}

}  // namespace kestrova::toolkit
