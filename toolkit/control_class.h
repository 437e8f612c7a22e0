#pragma once
// What InitToolkit needs to register one toolkit class: each control's source file defines its entry.

#include "platform/ui/types.h"

namespace kestrova::toolkit {

struct ControlClass {
    const wchar_t* name;
    const wchar_t* cursor;  // a standard cursor (IDC_...)
    WNDPROC procedure;
};

}  // namespace kestrova::toolkit
