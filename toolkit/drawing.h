#pragma once
// The font and frame functions every window of the program draws with.

#include "platform/ui/gdi.h"

namespace kestrova {

// The program's font: `face` at cell height `height`, bold (weight 700) or regular (400), proof quality or
// not anti-aliased, Swiss family with default pitch. The caller owns the font and deletes it.
HFONT CreateUiFont(const wchar_t* face, int height, int bold, int proofQuality);
// The same description, for a caller that needs to change one more field (an underlined variant).
LOGFONTW UiLogFont(const wchar_t* face, int height, int bold, int proofQuality);

// Draws a dotted group frame of 2-pixel dashes every 6 pixels in RGB(192,194,194) around (x, y, width,
// height), with `caption` in bold Tahoma 13 standing 18 pixels above its top edge, 9 pixels in from its left
// end, in the text colour and background mode the caller set on `dc`. Returns 1.
int DrawDashedFrame(HDC dc, const wchar_t* caption, int x, int y, int width, int height);

}  // namespace kestrova
