#pragma once
// The program's colours. Those the windows draw around and over the skins come first, so the pictures match
// them; the rest are the skins' own, chosen once here so that every picture changes together.

#include "tools/skin_painter/canvas.h"

namespace skin {

// Drawn by the program's code.
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kText{70, 70, 72};             // window text and headings
constexpr Rgb kButtonText{81, 81, 81};       // text buttons, lists
constexpr Rgb kButtonTextHot{51, 51, 51};    // text buttons hovered or pressed
constexpr Rgb kDisabledText{169, 169, 169};  // every disabled text
constexpr Rgb kSeparator{217, 217, 219};     // separator lines, the schedule's grey bars
constexpr Rgb kGroove{196, 196, 196};        // the slider's groove and ticks
constexpr Rgb kGrooveLight{222, 222, 222};   // the slider's groove below its top line
constexpr Rgb kHighlight{86, 121, 179};      // menu highlight, the schedule's blue bar
constexpr Rgb kListLine{97, 130, 184};       // the device list's selection lines, the level bar
constexpr Rgb kLevelBlue{77, 111, 170};      // the slider's level, the drag mark
constexpr Rgb kLevelGreen{116, 170, 38};
constexpr Rgb kLevelRed{209, 72, 54};
constexpr Rgb kScheduleGreen{145, 197, 78};  // the schedule's set quarters
constexpr Rgb kLinkText{0, 77, 133};

// The skins' own.
constexpr Rgb kFrame = kText;            // caption band and window edges
constexpr Rgb kFrameHover{98, 98, 102};  // a caption button under the pointer
constexpr Rgb kFramePressed{52, 52, 54};
constexpr Rgb kFrameGlyph{236, 236, 238};  // caption glyphs on the band
constexpr Rgb kFrameGlyphDisabled{128, 128, 132};
constexpr Rgb kCloseHover{209, 72, 54};
constexpr Rgb kClosePressed{178, 58, 44};
constexpr Rgb kScreen{44, 46, 50};      // an empty picture, the About emblem's screen
constexpr Rgb kScreenMark{78, 81, 87};  // drawings on an empty screen
constexpr Rgb kGlyph{92, 93, 97};       // tool-button symbols
constexpr Rgb kGlyphDisabled{200, 200, 203};
constexpr Rgb kHoverWash{236, 238, 242};  // behind a flat button under the pointer
constexpr Rgb kPressedWash{221, 225, 232};
constexpr Rgb kOnHover{106, 139, 193};  // an "on" tool button under the pointer
constexpr Rgb kOnPressed{68, 100, 155};
constexpr Rgb kOnDisabled{192, 203, 223};
constexpr Rgb kBorder{168, 170, 175};  // check box, radio, input borders
constexpr Rgb kBorderDisabled{214, 214, 217};
constexpr Rgb kFillDisabled{246, 246, 247};
constexpr Rgb kSelectedItem{228, 235, 246};  // the device list's selected item
constexpr Rgb kMutedText{128, 129, 133};     // labels inside pictures
constexpr Rgb kHoverOutline{146, 176, 222};  // the schedule's hovered hour
constexpr Rgb kAmber{255, 191, 19};          // warnings, like the display's selected tile
constexpr Rgb kOverlay{34, 36, 40};          // buttons over the live picture
constexpr Rgb kOverlayHover{62, 66, 74};
constexpr Rgb kOverlayEdge{92, 96, 104};

}  // namespace skin
