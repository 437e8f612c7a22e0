#pragma once
// How a property window looks behind its controls: the frame skin's caption band, edges and white face,
// two separator lines (under the caption and over the bottom buttons) and the caption text.

#include "platform/ui/types.h"

namespace kestrova {

// The frame skin, 320 x 47: the caption band in rows 0 to 42, the bottom edge in rows 43 to 46.
inline constexpr int kPropertyFrameSkin = 5377;
// The close button's three faces (normal, hover, pressed), 17 rows each.
inline constexpr int kPropertyCloseSkin = 5462;

inline constexpr COLORREF kPropertyTextColour = RGB(70, 70, 72);
inline constexpr COLORREF kSeparatorColour = RGB(217, 217, 219);

// Draws the frame of a `width` x `height` window into `dc`, with `caption` in `captionFont` below the band;
// leaves `dc` with a transparent text background and the text colour, for what the window draws next.
void PaintPropertyFrame(HDC dc, int width, int height, HFONT captionFont, const wchar_t* caption);

}  // namespace kestrova
