#include "platform/shell/modal_window.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"

namespace kestrova {

bool RegisterDialogClass(const wchar_t* className, WNDPROC procedure) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = sizeof(intptr_t);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    return RegisterClassW(&wc) != 0;
}

POINT DialogPlaceOver(HWND owner, int width, int height) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT around{0, 0, screenWidth, screenHeight};
    if (owner) GetWindowRect(owner, &around);
    return POINT{std::clamp((around.left + around.right - width) / 2, 0, std::max(0, screenWidth - width)),
                 std::clamp((around.top + around.bottom - height) / 2, 0, std::max(0, screenHeight - height))};
}

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
