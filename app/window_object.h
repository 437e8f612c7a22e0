#pragma once
// The registered procedure the program's own windows share. Each window keeps one heap object whose pointer
// sits in the window's extra bytes: the procedure makes it on WM_NCCREATE (creation fails when it cannot be
// made), deletes it on WM_NCDESTROY and hands every other message to the object's `WindowProc`. Before the
// object exists the window answers 0. The window text comes from the creation name, by the default
// handling of WM_NCCREATE.
//
// An object class provides `Object(HWND, const CREATESTRUCTW&)` and `LRESULT WindowProc(UINT, WPARAM,
// LPARAM)`, which passes what it does not handle to DefWindowProcW.

#include <new>
#include <string_view>

#include "platform/ui/messages.h"
#include "platform/ui/resources.h"
#include "platform/ui/windows.h"

namespace kestrova {

// The extra bytes of every such class: the object pointer, at offset 0.
inline constexpr int kWindowObjectBytes = sizeof(void*);

template <class Object>
Object* WindowObject(HWND hwnd) {
    return reinterpret_cast<Object*>(GetWindowLongPtrW(hwnd, 0));
}

// The object of `hwnd` when the window is of class `className`, else null.
template <class Object>
Object* WindowObjectOfClass(HWND hwnd, std::wstring_view className) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return className == name ? WindowObject<Object>(hwnd) : nullptr;
}

template <class Object>
LRESULT ObjectWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* object = new (std::nothrow) Object(hwnd, create);
        if (object == nullptr) return FALSE;
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<intptr_t>(object));
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    Object* object = WindowObject<Object>(hwnd);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete object;
        return 0;
    }
    return object ? object->WindowProc(msg, wParam, lParam) : 0;
}

// Registers `className` for windows whose object is an `Object`: no class styles, the object's extra bytes,
// the arrow cursor, no background brush, and the program's icon resource `icon` as both icons (0: none).
// Nonzero on success.
template <class Object>
BOOL RegisterObjectWindowClass(const wchar_t* className, int icon = 0) {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = ObjectWindowProc<Object>;
    wc.cbWndExtra = kWindowObjectBytes;
    if (icon != 0) wc.hIcon = wc.hIconSm = LoadIconW(nullptr, MAKEINTRESOURCEW(uint16_t(icon)));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace kestrova
