#include "platform/ui/button.h"

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/system_classes.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr COLORREF kFace = RGB(225, 225, 225);
constexpr COLORREF kPressedFace = RGB(204, 228, 247);
constexpr COLORREF kFrame = RGB(173, 173, 173);
constexpr COLORREF kFocusFrame = RGB(0, 120, 215);
constexpr COLORREF kText = RGB(0, 0, 0);

// Extra bytes: whether the button shows pressed (the mouse went down on it and is still over it), and
// whether the mouse press is being followed.
constexpr int kPressedOffset = 0;
constexpr int kTrackingOffset = 8;

bool Flag(HWND hwnd, int offset) {
    return GetWindowLongPtrW(hwnd, offset) != 0;
}

void SetFlag(HWND hwnd, int offset, bool on) {
    if (Flag(hwnd, offset) == on) return;
    SetWindowLongPtrW(hwnd, offset, on);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Click(HWND hwnd) {
    if (HWND parent = GetParent(hwnd))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd));
}

bool Inside(HWND hwnd, LPARAM lParam) {
    RECT r;
    GetClientRect(hwnd, &r);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH face = CreateSolidBrush(Flag(hwnd, kPressedOffset) ? kPressedFace : kFace);
    const bool focused = GetFocus() == hwnd;
    HBRUSH frame = CreateSolidBrush(focused ? kFocusFrame : kFrame);
    FillRect(dc, &r, face);
    FrameRect(dc, &r, frame);
    if (focused) {  // a double frame marks the button that Enter presses
        RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        FrameRect(dc, &inner, frame);
    }
    wchar_t text[64];
    const int length = GetWindowTextW(hwnd, text, 64);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    DrawTextW(dc, text, length, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(face);
    DeleteObject(frame);
    EndPaint(hwnd, &ps);
}

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            // Enter presses this button, not the dialog's default one.
            return wParam == VK_RETURN ? DLGC_WANTALLKEYS : 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) Click(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd);
            SetCapture(hwnd);
            SetWindowLongPtrW(hwnd, kTrackingOffset, 1);
            SetFlag(hwnd, kPressedOffset, true);
            return 0;
        case WM_MOUSEMOVE:
            if (Flag(hwnd, kTrackingOffset)) SetFlag(hwnd, kPressedOffset, Inside(hwnd, lParam));
            return 0;
        case WM_LBUTTONUP: {
            if (!Flag(hwnd, kTrackingOffset)) return 0;
            const bool clicked = Inside(hwnd, lParam);  // released outside, the press is taken back
            SetWindowLongPtrW(hwnd, kTrackingOffset, 0);
            SetFlag(hwnd, kPressedOffset, false);
            if (GetCapture() == hwnd) ReleaseCapture();
            if (clicked) Click(hwnd);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (HWND(lParam) != hwnd) {
                SetWindowLongPtrW(hwnd, kTrackingOffset, 0);
                SetFlag(hwnd, kPressedOffset, false);
            }
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void RegisterButtonClass() {
    WNDCLASSW wc;
    wc.lpfnWndProc = ButtonProc;
    wc.cbWndExtra = 2 * sizeof(intptr_t);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BUTTON";
    RegisterClassW(&wc);
}

}  // namespace kestrova::ui
