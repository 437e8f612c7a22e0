#pragma once
// The gallery's second window: sliders with their level bars, a drop-down button that opens the popup menu,
// a button whose tooltip shows while the cursor rests on it, and buttons that open each style of the skinned
// message box over the window, with a line that tells what the last box answered.

#include "platform/ui/types.h"

namespace kestrova::gallery {

inline constexpr int kMoreWidth = 480;
inline constexpr int kMoreHeight = 580;

// Registers the window's class and the message box's; false when that fails.
bool RegisterMoreControlsClass();
// Makes the window at (x, y) with all its controls and shows it; null when it could not be made. Closing
// it, or Escape, ends the program's message loop.
HWND CreateMoreControlsWindow(int x, int y);

}  // namespace kestrova::gallery
