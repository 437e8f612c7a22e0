#pragma once
// What every property window of the program shares (the alarm actions, e-mail, capture options, settings,
// display properties and About windows, and the others): a borderless popup of a class of its own, modal
// through its own message loop, with the frame skin, a caption band that drags it, a close button, and OK,
// Cancel and Default along the bottom.
//
// Each window is a class of its own whose object composes a PropertyFrame (property_frame.h), lays its
// controls out from a table (control_table.h) and keeps its own state; PropertyWindowProc below is every
// class's registered procedure, which makes and deletes the object, and the object's `WndProc` sends each
// message to a handler. Everything runs on the user-interface thread.

#include <cstdint>
#include <new>

#include "platform/ui/messages.h"
#include "platform/ui/types.h"
#include "platform/ui/windows.h"
#include "toolkit/control_window.h"

namespace kestrova {

// The standard controls' ids.
inline constexpr int kCloseButtonId = 1026;
inline constexpr int kOkButtonId = 1027;
inline constexpr int kCancelButtonId = 1028;
inline constexpr int kDefaultButtonId = 1029;

// What Show answers: cancelled or closed (also every window that sets no result), or OK. The settings window
// adds a third.
inline constexpr int kPropertyCancelled = 0;
inline constexpr int kPropertyOk = 1;

// Registers a property window class: no class style or extra bytes, the object pointer in the window's extra
// bytes, the arrow cursor, no background brush, icon or menu. The class atom, 0 on failure.
uint16_t RegisterPropertyWindowClass(const wchar_t* className, WNDPROC procedure);

// Opens a `size` window of `className` centred on `owner` (halves rounded toward zero, so a window larger
// than its owner stands out on both sides evenly), with the rounded frame shape, shows it, disables the owner
// and runs the thread's messages until the window is gone, handing dialog keys to it (Enter and Escape come
// as commands 1 and 2, which no property window acts on). `record` reaches the window's object as its
// creation parameter. Answers the window's result; 0 at once when the window cannot be made.
//
// A WM_QUIT that comes up meanwhile is meant for an outer loop: the window is closed (its result stays) and
// the quit is posted again.
int ShowPropertyWindow(const wchar_t* className, HWND owner, void* record, SIZE size);

// The registered procedure of a property window whose object class is `Window`, which offers
// `Window(HWND, const CREATESTRUCTW&)` and `LRESULT WndProc(UINT, WPARAM, LPARAM)`. The object is made on
// WM_NCCREATE (no object, no window) and deleted on WM_NCDESTROY, which also deletes its fonts; WM_CREATE
// first sets the window text from the creation name.
template <class Window>
LRESULT PropertyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* object = new (std::nothrow) Window(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
            toolkit::StoreObjectPointer(hwnd, object);
            return object ? TRUE : FALSE;
        }
        case WM_NCDESTROY: {
            auto* object = static_cast<Window*>(toolkit::ObjectPointer(hwnd));
            toolkit::StoreObjectPointer(hwnd, nullptr);
            delete object;
            return 0;
        }
        case WM_CREATE:
            SetWindowTextW(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName);
            break;
    }
    auto* object = static_cast<Window*>(toolkit::ObjectPointer(hwnd));
    return object ? object->WndProc(msg, wParam, lParam) : 0;
}

}  // namespace kestrova
