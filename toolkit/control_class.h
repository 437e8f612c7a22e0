#pragma once
// What InitToolkit needs to register one toolkit class (each control's source file defines its entry), and
// how the controls' factories make a window of it.

#include "platform/ui/types.h"

namespace kestrova::toolkit {

struct ControlClass {
    const wchar_t* name;
    const wchar_t* cursor;  // a standard cursor (IDC_...)
    WNDPROC procedure;
};

// A visible child window of the class (extended style 0, WS_CHILD and WS_VISIBLE) with that text, control
// id, place and creation parameter.
HWND CreateControl(const ControlClass& control, HWND parent, const wchar_t* text, int id, int x, int y,
                   int width, int height, uintptr_t creationParameter = 0);

}  // namespace kestrova::toolkit
