#pragma once
// The colours of the tests' own skins (skins/manifest.txt), as a painted control shows them.

#include "platform/ui/types.h"

namespace kestrova::uitest {

// Nine-slice button skin 5463: the face of each state (normal, hover, pressed, disabled) and the pieces.
inline constexpr COLORREF kFaces[] = {RGB(230, 230, 230), RGB(200, 220, 250), RGB(160, 190, 240),
                                      RGB(250, 250, 250)};
inline constexpr COLORREF kTopLeft = RGB(200, 0, 0), kTopRight = RGB(0, 200, 0), kBottomLeft = RGB(0, 0, 200),
                          kBottomRight = RGB(200, 200, 0), kTopEdge = RGB(0, 200, 200),
                          kBottomEdge = RGB(200, 0, 200), kLeftEdge = RGB(100, 0, 0),
                          kRightEdge = RGB(0, 100, 0);

// One colour per state row (0 normal, 1 hover, 2 pressed, 3 disabled) of the arrow icons.
constexpr COLORREF CycleLeft(int state) {
    return RGB(uint8_t(20 + 60 * state), 120, 20);
}
constexpr COLORREF CycleRight(int state) {
    return RGB(uint8_t(20 + 60 * state), 20, 120);
}
constexpr COLORREF DropDown(int state) {
    return RGB(120, uint8_t(20 + 60 * state), 20);
}

// Check box and radio glyphs 5472: column 0 radio, 1 check box; rows 0..5 as the skin stacks them.
constexpr COLORREF Glyph(int column, int row) {
    return RGB(uint8_t(40 + 100 * column), uint8_t(20 + 30 * row), 90);
}

// Link icon 5476: normal, hovered, disabled.
inline constexpr COLORREF kLinkIcon[] = {RGB(0, 0, 160), RGB(0, 160, 0), RGB(160, 0, 0)};

// Stacked close skins: 5462 with three faces, 5457 with four.
inline constexpr COLORREF kThreeFaces[] = {RGB(90, 0, 0), RGB(0, 90, 0), RGB(0, 0, 90)};
inline constexpr COLORREF kFourFaces[] = {RGB(30, 60, 90), RGB(60, 90, 30), RGB(90, 30, 60),
                                          RGB(120, 120, 120)};

}  // namespace kestrova::uitest
