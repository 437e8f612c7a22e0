#include "platform/shell/modal_window.h"

#include "platform/ui/windows.h"

namespace kestrova {

HWND DialogOwner(HWND hwnd) {
    return hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
}

bool RunModal(HWND dialog, HWND owner, const std::function<bool()>& finished) {
    // EnableWindow answers whether the owner was disabled already: only what we disabled is given back.
    const bool disabledHere = owner && !EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    bool ended = true;
    while (!finished()) {
        if (!IsWindow(dialog)) {
            ended = false;
            break;
        }
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam));
            ended = false;
            break;
        }
        if (got < 0) {
            ended = false;
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (disabledHere) EnableWindow(owner, TRUE);
    return ended;
}

}  // namespace kestrova
