#pragma once
// The frame the program's borderless windows are drawn in (the message box, and the property windows and
// the popup view with a skin of their own): a caption band along the top, a thin bottom edge and sides cut
// from a 320 x 47 frame skin, around a white client face, in a window with rounded corners.

#include "platform/ui/types.h"

namespace kestrova::toolkit {

// Draws the frame skin `skinId` around a `width` x `height` window into `dc`: the band's 4-pixel left end
// and 110-pixel right end with its 1-pixel middle column repeated between them, the 4-pixel-high bottom
// edge the same way, the 3-pixel side rows down both sides, and white inside.
void DrawWindowFrame(HDC dc, int skinId, int width, int height);

// Gives a `width` x `height` window its rounded shape: 8 x 8 corner ellipses, with one more pixel taken
// off inside each corner.
void RoundWindowCorners(HWND window, int width, int height);

// The top band of a framed window, which drags it like a caption.
inline constexpr int kFrameDragBand = 29;

}  // namespace kestrova::toolkit
