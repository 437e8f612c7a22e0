#pragma once
// WLinkEx_0000, the toolkit's link: one line of text in the link colour with an optional 14 x 14 icon
// before it, underlined while the cursor is over it, sized to its text whenever the text is set. The parent
// hears of a press on an enabled link at once, by WM_COMMAND (its id, the link); the focus stays where it
// was.

#include "platform/ui/types.h"
#include "toolkit/control_class.h"

namespace kestrova {

// A visible child link with that text and id at (x, y). `iconBitmap` (0: none) is a strip 14 pixels wide
// with three 14 x 14 states: normal, hovered, disabled.
HWND CreateLinkEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                  int iconBitmap);

namespace toolkit {
extern const ControlClass kLinkExClass;
}

}  // namespace kestrova
