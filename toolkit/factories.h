#pragma once
// The controls every window builds from, made and configured with the program's skins in one call. Each
// returns the new control's window (null when it could not be made). They set properties without repainting,
// as the control has not been painted yet.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

// A text button on the nine-slice skin; `inset` pixels around its edge do not react to the mouse.
HWND CreateDialogButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                        int inset);
// A text button with the text left-aligned at 10 and a down arrow 10 pixels from its right edge, 17 from
// its top; its click opens a menu.
HWND CreateDropDownButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                          int inset);
// A cycle button with arrows 10 pixels in from either end, whose value steps 0, 1, ... `maximum`, 0.
HWND CreateCycleButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                       int maximum, int inset);
// A radio button, or a check box, sized to its text.
HWND CreateRadioButton(HWND parent, const wchar_t* text, int id, int x, int y);
HWND CreateCheckBox(HWND parent, const wchar_t* text, int id, int x, int y);
// A framed edit with `editStyles` for its inner edit, limited to `limit` characters when `limit` is above 0
// (else the edit's own limit stays).
HWND CreateDialogEdit(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                      int limit, uint32_t editStyles);

}  // namespace kestrova
