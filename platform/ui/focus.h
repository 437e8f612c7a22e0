#pragma once
// Activation and focus changes that other parts of the layer start. Call with the table unlocked: they send
// messages.

#include "platform/ui/types.h"

namespace kestrova::ui {

// Makes `hwnd` (a top-level window, or null) the active window: WM_ACTIVATE to the old one (WA_INACTIVE) and
// the new one (`how`), which takes the focus through DefWindowProcW; the focus leaves the old window.
void Activate(HWND hwnd, WPARAM how);
// When `leaving` (being hidden or destroyed) is active, activates its owner if that can be, else the topmost
// other window of its thread that can, else none.
void ActivateAnotherThan(HWND leaving);
// Drops the focus and the capture when they are in `hwnd` or below it (it is being disabled or hidden).
void DropFocusAndCaptureIn(HWND hwnd);

}  // namespace kestrova::ui
