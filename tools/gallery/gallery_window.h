#pragma once
// The gallery's one window: the toolkit's controls in groups under dashed frames, each in the states it can
// show without the user (normal, checked, disabled), with a caption under each that names what it shows.

#include "platform/ui/types.h"

namespace kestrova::gallery {

inline constexpr int kWidth = 720;
inline constexpr int kHeight = 580;

// Registers the window's class; false when that fails.
bool RegisterGalleryClass();
// Makes the window at (x, y) with all its controls and shows it; null when it could not be made. Closing
// it, or Escape, ends the program's message loop.
HWND CreateGalleryWindow(int x, int y);

}  // namespace kestrova::gallery
