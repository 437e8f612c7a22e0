#pragma once
// WToolTipEx_0000, the toolkit's tooltip: a small dark balloon with white bold text and an arrow pointing up
// at the control it explains, centred below it. It stays above other windows and never takes the activation
// when it shows; a click on it brings its owner window to the top. It has no property messages and sends no
// notifications. Its text lives in its object: the window text is not set.

#include "platform/ui/types.h"
#include "toolkit/control_class.h"

namespace kestrova {

// Shows a tooltip with `text` (lines broken at line feeds) under `anchor`, owned by `owner`, and returns it;
// the caller destroys it (the main window finds its tooltips by their class name).
HWND ShowToolTipEx(HWND owner, HWND anchor, const wchar_t* text);

namespace toolkit {
extern const ControlClass kToolTipExClass;
}

}  // namespace kestrova
