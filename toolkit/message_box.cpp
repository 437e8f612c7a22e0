#include "toolkit/message_box.h"

#include <string_view>

#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/message_box_layout.h"
#include "toolkit/message_box_window.h"

namespace kestrova {
namespace {

// Runs the thread's messages, the box's through its dialog keys, until the box is gone, and answers the
// result it left. A quit that comes up meanwhile is not the box's: the box closes, and the quit is posted
// again for the loop it was meant for.
int RunModalLoop(HWND box, const int& result) {
    MSG msg;
    while (IsWindow(box)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            SendMessageW(box, WM_CLOSE, 0, 0);
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!IsDialogMessageW(box, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return result;
}

}  // namespace

int ShowMessageEx(HWND parent, const wchar_t* text, int style, int icon, int modal) {
    MessageExParams params;
    params.style = style;
    params.icon = icon;
    params.modal = modal;
    return ShowMessageExCustom(parent, text, &params);
}

int ShowMessageExCustom(HWND parent, const wchar_t* text, const MessageExParams* params) {
    if (!params) return 0;
    const bool modal = params->modal != 0;
    if (!modal && params->style != kMessageOkStyle) return 0;
    const std::wstring_view message = text ? text : L"";
    int result = 0;
    toolkit::MessageExCreation creation;
    creation.params = *params;
    if (modal) {
        creation.ownerToEnable = parent && IsWindowEnabled(parent) ? parent : nullptr;
        creation.result = &result;
    }
    HWND box = CreateWindowExW(0, toolkit::kMessageExClassName, message.data(), WS_POPUP, 0, 0,
                               toolkit::InitialMessageWidth(message.size()), toolkit::kMessageInitialHeight,
                               modal ? parent : nullptr, 0, nullptr, &creation);
    if (!box) return 0;
    if (!toolkit::MessageExWindowReady(box)) {
        DestroyWindow(box);
        return 0;
    }
    UpdateWindow(box);
    ShowWindow(box, SW_SHOW);
    if (!modal) return 1;
    if (creation.ownerToEnable) EnableWindow(parent, FALSE);
    return RunModalLoop(box, result);
}

}  // namespace kestrova
