#include "tests/platform/ui/test_window.h"

namespace kestrova::uitest {
namespace {

LRESULT TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(
            hwnd, 0, reinterpret_cast<intptr_t>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, 0));
    if (self) {
        if (self->log) self->log->push_back({self->name, msg, wParam, lParam});
        if (self->answer)
            if (auto result = self->answer(hwnd, msg, wParam, lParam)) return *result;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

const wchar_t* TestWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = TestWindowProc;
        wc.cbWndExtra = sizeof(void*);
        wc.lpszClassName = L"KestrovaTestWindow";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

HWND TestWindow::Create(HWND parent, uint32_t style, uintptr_t id) {
    hwnd = CreateWindowExW(0, TestWindowClass(), L"", style, 0, 0, 100, 100, parent, id, nullptr, this);
    return hwnd;
}

}  // namespace kestrova::uitest
