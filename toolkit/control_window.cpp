#include "toolkit/control_window.h"

namespace kestrova::toolkit {

void* ObjectPointer(HWND control) {
    return reinterpret_cast<void*>(GetWindowLongPtrW(control, 0));
}

void StoreObjectPointer(HWND control, void* object) {
    SetWindowLongPtrW(control, 0, reinterpret_cast<intptr_t>(object));
}

}  // namespace kestrova::toolkit
