#pragma once
// The program's picture buttons: toolkit buttons without text whose skin stacks whole-size faces (normal,
// hover, pressed, disabled), as the caption buttons, the main window's tool buttons and the display's
// overlay buttons have.

#include "platform/ui/types.h"

namespace kestrova {

// A visible child button with that id and place on skin `bitmap`; null when it cannot be made.
HWND CreateImageButton(HWND parent, int id, int x, int y, int width, int height, int bitmap);

}  // namespace kestrova
