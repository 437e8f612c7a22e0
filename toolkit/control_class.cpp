#include "toolkit/control_class.h"

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"

namespace kestrova::toolkit {

HWND CreateControl(const ControlClass& control, HWND parent, const wchar_t* text, int id, int x, int y,
                   int width, int height, uintptr_t creationParameter) {
    return CreateWindowExW(0, control.name, text, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           uintptr_t(id), nullptr, reinterpret_cast<void*>(creationParameter));
}

}  // namespace kestrova::toolkit
