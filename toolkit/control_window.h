#pragma once
// The window procedure that every toolkit class shares. Each control window owns exactly one heap object of
// its class (`WButtonEx`, `WLabelEx`, ...), whose pointer sits in the window's extra bytes, which are
// pointer-sized: the procedure makes the object when the window is created, deletes it on WM_NCDESTROY and
// hands every other message to the object's own `WindowProc`. Before the object exists, and for good when it
// could not be made, the window answers 0 to everything.
//
// A control class provides a constructor `Control(HWND, const CREATESTRUCTW&)` and
// `LRESULT WindowProc(UINT, WPARAM, LPARAM)`, which passes what it does not handle to DefWindowProcW.

#include <new>

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"

namespace kestrova::toolkit {

// The extra bytes each toolkit class registers: the object pointer, at offset 0.
inline constexpr int kObjectExtraBytes = sizeof(void*);

void* ObjectPointer(HWND control);
void StoreObjectPointer(HWND control, void* object);

// When a class makes its object: most on WM_CREATE; a popup that must answer its first messages with its
// items already there (the menu) on WM_NCCREATE.
enum class ObjectCreatedOn { Create, NcCreate };
// What becomes of the creation name: the window text, set once the object exists (so a control that fits
// itself to its text does so at once), or nothing, for a class whose object keeps its own copy.
enum class CreationName { SetAsWindowText, KeptByObject };

template <class Control, ObjectCreatedOn createdOn = ObjectCreatedOn::Create,
          CreationName name = CreationName::SetAsWindowText>
LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            // Not passed on: the window text is set on WM_CREATE, through the object.
            if constexpr (createdOn == ObjectCreatedOn::NcCreate)
                StoreObjectPointer(
                    hwnd, new (std::nothrow) Control(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam)));
            return TRUE;
        case WM_CREATE: {
            const auto& cs = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if constexpr (createdOn == ObjectCreatedOn::Create)
                StoreObjectPointer(hwnd, new (std::nothrow) Control(hwnd, cs));
            if constexpr (name == CreationName::SetAsWindowText) SetWindowTextW(hwnd, cs.lpszName);
            if constexpr (createdOn == ObjectCreatedOn::Create) return 1;
            break;  // an object made on WM_NCCREATE goes on to handle WM_CREATE itself
        }
        case WM_NCDESTROY: {
            auto* object = static_cast<Control*>(ObjectPointer(hwnd));
            StoreObjectPointer(hwnd, nullptr);
            delete object;
            return 0;
        }
    }
    auto* object = static_cast<Control*>(ObjectPointer(hwnd));
    return object ? object->WindowProc(msg, wParam, lParam) : 0;
}

}  // namespace kestrova::toolkit
