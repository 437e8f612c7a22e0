#pragma once
// WLabelEx_0000, the toolkit's static text: a white box that fits itself to its text each time the text is
// set, wrapping a long text at spaces within the width it had and spacing lines 5 pixels apart. A press on
// it (left or right button) reaches the parent as the same message, in the label's client coordinates; the
// label sends no notification of its own.

#include "platform/ui/types.h"
#include "toolkit/control_class.h"

namespace kestrova {

// A visible child label with that text and id at (x, y). Width and height bound the size it fits itself to
// (0: unbounded); its font is Tahoma of `fontHeight`, bold when `bold` is non-zero.
HWND CreateLabelEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                   int fontHeight, int bold);

namespace toolkit {
extern const ControlClass kLabelExClass;
}

}  // namespace kestrova
