#pragma once
// The resource ids of the skins the toolkit's factories give their controls.

namespace kestrova {

inline constexpr int kButtonSkin = 5463;       // nine-slice, 37 x 148: four 37 x 37 state blocks
inline constexpr int kCycleLeftArrow = 5464;   // 5 x 36: four 5 x 9 states
inline constexpr int kCycleRightArrow = 5465;  // 5 x 36: four 5 x 9 states
inline constexpr int kChoiceGlyphs = 5472;     // 26 x 84: 13 x 14 cells, radio and check box
inline constexpr int kLinkIcon = 5476;         // 14 x 42: normal, hovered, disabled
inline constexpr int kDropDownArrow = 5667;    // 9 x 20: four 9 x 5 states

}  // namespace kestrova
