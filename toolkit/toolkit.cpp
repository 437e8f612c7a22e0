#include "toolkit/toolkit.h"

#include "platform/ui/messages.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/choice.h"
#include "toolkit/control_class.h"
#include "toolkit/control_window.h"
#include "toolkit/framed_edit.h"
#include "toolkit/label.h"
#include "toolkit/link.h"
#include "toolkit/menu.h"
#include "toolkit/slider.h"
#include "toolkit/tooltip.h"

namespace kestrova {
namespace {

// In registration order.
const toolkit::ControlClass* const kClasses[] = {
    &toolkit::kButtonExClass, &toolkit::kLabelExClass, &toolkit::kEditExClass, &toolkit::kSliderExClass,
    &toolkit::kChoiceExClass, &toolkit::kLinkExClass,  &toolkit::kMenuExClass, &toolkit::kToolTipExClass,
};

}  // namespace

BOOL InitToolkit() {
    for (const toolkit::ControlClass* control : kClasses) {
        WNDCLASSEXW wc;
        wc.style = 0;
        wc.lpfnWndProc = control->procedure;
        wc.cbClsExtra = 0;
        wc.cbWndExtra = toolkit::kObjectExtraBytes;
        wc.hInstance = nullptr;  // the program's own module: it has only the one
        wc.hCursor = LoadCursorW(nullptr, control->cursor);
        wc.lpszClassName = control->name;
        if (!RegisterClassExW(&wc)) return FALSE;
    }
    return TRUE;
}

}  // namespace kestrova
