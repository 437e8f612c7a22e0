#pragma once
// For the property windows whose buttons differ from the frame's standard set (the add IP camera window's
// own ids for OK and Cancel, the device properties window's "Close", "Default" and "Advanced"): the close
// button and the bottom row's buttons, made one by one in the standard places.

#include "platform/ui/types.h"

namespace kestrova {

// Where a bottom button stands, from the left edge or from the right edge of the client area.
enum class BottomPlace { OkPlace, CancelPlace, DefaultPlace };

// The caption band's close button (id 1026) with its three faces.
void CreateCloseButton(HWND window);
// A 91 x 37 dialog button in the bottom row at `place`, or at `x` from the left.
void CreateBottomButton(HWND window, const wchar_t* text, int id, BottomPlace place);
void CreateBottomButton(HWND window, const wchar_t* text, int id, int x);

}  // namespace kestrova
