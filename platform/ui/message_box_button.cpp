#include "platform/ui/message_box_button.h"

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaMessageBoxButton";
constexpr COLORREF kFace = RGB(225, 225, 225);
constexpr COLORREF kPressedFace = RGB(200, 200, 200);
constexpr COLORREF kFrame = RGB(90, 90, 90);

void Command(HWND hwnd) {
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), 0),
                 reinterpret_cast<LPARAM>(hwnd));
}

bool Pressed(HWND hwnd) {
    return GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0;
}

void SetPressed(HWND hwnd, bool pressed) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, pressed ? 1 : 0);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH face = CreateSolidBrush(Pressed(hwnd) ? kPressedFace : kFace);
    HBRUSH frame = CreateSolidBrush(kFrame);
    FillRect(dc, &r, face);
    FrameRect(dc, &r, frame);
    if (GetFocus() == hwnd) {
        RECT inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        FrameRect(dc, &inner, frame);
    }
    DeleteObject(face);
    DeleteObject(frame);
    wchar_t caption[64];
    GetWindowTextW(hwnd, caption, 64);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
            SetPressed(hwnd, true);
            SetCapture(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            if (!Pressed(hwnd)) return 0;
            SetPressed(hwnd, false);
            ReleaseCapture();
            RECT r;
            GetClientRect(hwnd, &r);
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            // Released outside, the press is taken back.
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) Command(hwnd);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE || wParam == VK_ESCAPE) Command(hwnd);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND CreateMessageBoxButton(HWND parent, int id, const wchar_t* caption, RECT rect) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ButtonProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly once the class is there
    return CreateWindowExW(0, kClassName, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, uintptr_t(id), nullptr,
                           nullptr);
}

}  // namespace kestrova::ui
