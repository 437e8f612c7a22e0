// The system message box, for the failures that come before the program's own windows can show them.

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/base/text.h"
#include "platform/ui/backend.h"
#include "platform/ui/button.h"
#include "platform/ui/gdi.h"
#include "platform/ui/window_table.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaMessageBox";
constexpr int kTitleHeight = 26;
constexpr int kMargin = 20;
constexpr int kMaxTextWidth = 420;
constexpr int kMinTextWidth = 200;
constexpr int kButtonWidth = 84;
constexpr int kButtonHeight = 28;
constexpr int kBottomMargin = 14;
constexpr COLORREF kTitleBand = RGB(45, 45, 48);
constexpr COLORREF kTitleText = RGB(255, 255, 255);
constexpr COLORREF kBody = RGB(255, 255, 255);
constexpr COLORREF kBodyText = RGB(0, 0, 0);
constexpr COLORREF kBorder = RGB(90, 90, 90);
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

struct Box {
    std::wstring text;
    HWND owner = nullptr;
    bool reenableOwner = false;
    RECT textRect{};
};

Box* BoxOf(HWND hwnd) {
    return reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// The size that `text` takes in the box's font, wrapped at `width` (or on one line).
SIZE Measure(const std::wstring& text, int width, UINT format) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Finish(HWND hwnd) {
    Box* box = BoxOf(hwnd);
    // The owner is enabled before the box goes, so that it takes the activation back.
    if (box && box->reenableOwner) {
        box->reenableOwner = false;
        EnableWindow(box->owner, TRUE);
    }
    DestroyWindow(hwnd);
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    Fill(dc, client, kBody);
    RECT title{0, 0, client.right, kTitleHeight};
    Fill(dc, title, kTitleBand);
    HBRUSH border = CreateSolidBrush(kBorder);
    FrameRect(dc, &client, border);
    DeleteObject(border);

    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    wchar_t caption[256];
    GetWindowTextW(hwnd, caption, 256);
    RECT captionRect{10, 0, client.right - 10, kTitleHeight};
    SetTextColor(dc, kTitleText);
    DrawTextW(dc, caption, -1, &captionRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (Box* box = BoxOf(hwnd)) {
        SetTextColor(dc, kBodyText);
        RECT r = box->textRect;
        DrawTextW(dc, box->text.c_str(), -1, &r, kTextFormat);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<intptr_t>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_NCHITTEST: {
            LRESULT hit = DefWindowProcW(hwnd, msg, wParam, lParam);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(hwnd, &p);
            // The title band moves the box, as a caption would.
            return hit == HTCLIENT && p.y < kTitleHeight ? HTCAPTION : hit;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) Finish(hwnd);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) Finish(hwnd);
            return 0;
        case WM_CLOSE:
            Finish(hwnd);
            return 0;
        case WM_DESTROY:
            // Wakes the box's loop, which may be waiting for a message, to see that the box is gone.
            PostMessageW(nullptr, WM_NULL, 0, 0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegisterBoxClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BoxProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (RegisterClassW(&wc)) return true;
    TableLock lock = LockTable();
    return FindClassLocked(kClassName) != nullptr;
}

// With no display the box would reach no one and wait for ever: its text goes to standard error instead,
// and the box answers at once. True when it did.
bool ReportWithoutUser(const std::wstring& caption, const std::wstring& text) {
    {
        TableLock lock = LockTable();
        if (BackendLocked().HasUser()) return false;
    }
    std::string line = kestrova::ToUtf8(caption.empty() ? text : caption + L": " + text);
    std::fprintf(stderr, "%s\n", line.c_str());
    return true;
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    if (!RegisterBoxClass()) return 0;
    if (owner && !IsWindow(owner)) owner = nullptr;
    Box box;
    box.text = text ? text : L"";
    box.owner = owner;
    std::wstring title = caption ? caption : L"";
    if (ReportWithoutUser(title, box.text)) return IDOK;

    SIZE textSize = Measure(box.text, kMaxTextWidth, kTextFormat);
    SIZE titleSize = Measure(title, 0, DT_SINGLELINE | DT_NOPREFIX);
    int width = std::max({int(textSize.cx), int(titleSize.cx), kMinTextWidth}) + 2 * kMargin;
    int height = kTitleHeight + kMargin + textSize.cy + kMargin + kButtonHeight + kBottomMargin;
    box.textRect =
        RECT{kMargin, kTitleHeight + kMargin, width - kMargin, kTitleHeight + kMargin + textSize.cy};
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;

    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kClassName, title.c_str(), WS_POPUP, x, y, width, height,
                                owner, 0, nullptr, &box);
    if (!hwnd) return 0;
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                  (width - kButtonWidth) / 2, height - kBottomMargin - kButtonHeight,
                                  kButtonWidth, kButtonHeight, hwnd, IDOK, nullptr, nullptr);
    if (owner && IsWindowEnabled(owner)) {
        box.reenableOwner = true;
        EnableWindow(owner, FALSE);
    }
    MessageBeep(type & 0xF0);
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    SetFocus(button ? button : hwnd);

    MSG msg;
    while (IsWindow(hwnd)) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The thread is asked to end: the box goes, and the quit stays for the loop it was meant for.
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (IsWindow(hwnd)) Finish(hwnd);
    return IDOK;
}
