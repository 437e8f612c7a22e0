#pragma once
// The system "BUTTON" class: a plain push button, a framed face with its text. A click, or Space or Enter
// while it has the focus, reaches the parent as WM_COMMAND, wParam = MAKEWPARAM(its id, BN_CLICKED) and
// lParam = its own window. The program's skinned buttons are the toolkit's; the layer's own windows (the
// message box, the file dialogs) use these.

#include "platform/ui/types.h"

inline constexpr uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr uint16_t BN_CLICKED = 0;
