#include "tests/toolkit/toolkit_fixture.h"

#include "platform/ui/windows.h"
#include "toolkit/drawing.h"
#include "toolkit/notify.h"
#include "toolkit/toolkit.h"

namespace kestrova::uitest {
namespace {

ParentLog* LogOf(HWND hwnd) {
    return reinterpret_cast<ParentLog*>(GetWindowLongPtrW(hwnd, 0));
}

std::string Point(LPARAM lParam) {
    return std::to_string(GET_X_LPARAM(lParam)) + "," + std::to_string(GET_Y_LPARAM(lParam));
}

LRESULT SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, 0, reinterpret_cast<intptr_t>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    ParentLog* log = LogOf(hwnd);
    if (log) {
        switch (msg) {
            case WM_COMMAND: {
                std::string what = "command";
                if (HIWORD(wParam)) what += " " + std::to_string(HIWORD(wParam));
                log->heard.push_back({what, HWND(lParam)});
                if (HWND(lParam) && LOWORD(wParam) != GetDlgCtrlID(HWND(lParam)))
                    log->heard.back().what += " (bad id)";
                break;
            }
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                log->heard.push_back({"notify " + std::to_string(header->code), header->hwndFrom});
                if (wParam != header->idFrom || int(wParam) != GetDlgCtrlID(header->hwndFrom))
                    log->heard.back().what += " (bad id)";
                break;
            }
            case WM_LBUTTONDOWN:
                if (log->recordClicks) log->heard.push_back({"lbuttondown " + Point(lParam), hwnd});
                break;
            case WM_RBUTTONDOWN:
                if (log->recordClicks) log->heard.push_back({"rbuttondown " + Point(lParam), hwnd});
                break;
        }
    }
    if (msg == WM_PAINT) {  // a white page, as the program's windows are behind their controls
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, HBRUSH(GetStockObject(WHITE_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* SpyClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = SpyProc;
        wc.cbWndExtra = sizeof(void*);
        wc.lpszClassName = L"KestrovaToolkitSpy";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

}  // namespace

void ToolkitTest::SetUp() {
    static const BOOL registered = InitToolkit();
    ASSERT_TRUE(registered);
    SetClock(&clock);
    parent = CreateWindowExW(0, SpyClass(), L"", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr, 0,
                             nullptr, &log);
    ASSERT_NE(parent, nullptr);
    PumpMessages();
}

void ToolkitTest::TearDown() {
    DestroyWindow(parent);
    PumpMessages();
    SetClock(nullptr);
}

std::vector<std::string> ToolkitTest::HeardFrom(HWND from) {
    std::vector<std::string> got;
    for (const Heard& h : log.heard) {
        EXPECT_EQ(h.from, from) << h.what;
        got.push_back(h.what);
    }
    log.heard.clear();
    return got;
}

SIZE ToolkitTest::ClientSize(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return SIZE{r.right, r.bottom};
}

SIZE ToolkitTest::Measured(const std::wstring& text) {
    HDC dc = GetDC(parent);
    HFONT font = CreateUiFont(L"Tahoma", 13, 0, 0);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(parent, dc);
    return SIZE{r.right, r.bottom};
}

int ToolkitTest::CountPixels(HWND hwnd, RECT area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += ReadPixel(hwnd, x, y) == colour;
    return count;
}

}  // namespace kestrova::uitest
