#pragma once
// The display window's picture, composed off-screen: the live frames in their tiles over the skin or black,
// and the highlight frame of the selected device's tile.

#include "platform/ui/types.h"

namespace kestrova {

class Device;

// The selected device's tile in a grid is framed in this colour.
inline constexpr COLORREF kSelectedTileColour = RGB(255, 191, 19);
// The main window's skin, whose area under the display window is the empty display.
inline constexpr int kMainSkin = 5376;

// Paints the 480 x 360 display into `dc`. With 1 stream: the skin's picture area, and the selected device's
// frame over it when it is powered. With more: black with the shown devices' frames in their tiles (the
// skin's picture area when none is shown), the selected device's tile framed when it is among them.
void PaintDisplay(HDC dc, Device* head, Device* selected, int streams);

}  // namespace kestrova
