#pragma once
// The controls that fit themselves to their text (check box and radio, label, link) measure it and resize.

#include <string>
#include <string_view>

#include "platform/ui/types.h"

namespace kestrova::toolkit {

// `text` as DrawTextW measures it (DT_CALCRECT) in `font` on the control's device context: the width of its
// widest line and the height of all its lines.
SIZE MeasureText(HWND control, HGDIOBJ font, std::wstring_view text);
// Resizes the control without moving it, changing the z-order or activating it.
void ResizeControl(HWND control, int width, int height);
// The control's text, cut to `capacity` - 1 characters as a buffer of that capacity would take it.
std::wstring ControlText(HWND control, int capacity);

}  // namespace kestrova::toolkit
