#include "platform/shell/check_box.h"

#include "platform/ui/button.h"
#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"

namespace kestrova {
namespace {

constexpr COLORREF kBox = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(122, 122, 122);
constexpr COLORREF kFocusFrame = RGB(0, 120, 215);
constexpr COLORREF kTick = RGB(0, 84, 153);
constexpr COLORREF kDisabled = RGB(200, 200, 200);
constexpr int kBoxSize = 16;

// Extra bytes: whether it is on.
constexpr int kCheckedOffset = 0;

bool Checked(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, kCheckedOffset) != 0;
}

void SetChecked(HWND hwnd, bool on) {
    SetWindowLongPtrW(hwnd, kCheckedOffset, on);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Toggle(HWND hwnd) {
    SetChecked(hwnd, !Checked(hwnd));
    if (HWND parent = GetParent(hwnd))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
}

// A tick of two strokes, each two pixels thick.
void PaintTick(HDC dc, const RECT& box, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    for (int thick = 0; thick < 2; ++thick) {
        MoveToEx(dc, box.left + 3, box.top + 7 + thick, nullptr);
        LineTo(dc, box.left + 6, box.top + 10 + thick);
        LineTo(dc, box.left + 13, box.top + 3 + thick);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const int top = (client.bottom - kBoxSize) / 2;
    RECT box{0, top, kBoxSize, top + kBoxSize};
    const bool enabled = IsWindowEnabled(hwnd);
    HBRUSH fill = CreateSolidBrush(enabled ? kBox : GetSysColor(COLOR_BTNFACE));
    HBRUSH frame = CreateSolidBrush(GetFocus() == hwnd ? kFocusFrame : kFrame);
    FillRect(dc, &box, fill);
    FrameRect(dc, &box, frame);
    if (Checked(hwnd)) PaintTick(dc, box, enabled ? kTick : kDisabled);
    DeleteObject(fill);
    DeleteObject(frame);
    EndPaint(hwnd, &ps);
}

LRESULT CheckBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) Toggle(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            Toggle(hwnd);
            return 0;
        case kCheckBoxSetCheck:
            SetChecked(hwnd, wParam != 0);
            return 0;
        case kCheckBoxGetCheck:
            return Checked(hwnd) ? 1 : 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterCheckBoxClass() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = CheckBoxProc;
        wc.cbWndExtra = sizeof(intptr_t);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kCheckBoxClass;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

}  // namespace kestrova
