#pragma once
// WSliderEx_0000, the toolkit's horizontal slider: one tick per whole value, a thumb that snaps from tick to
// tick while it is dragged, and a coloured level bar along the groove (the main window shows the live
// detection level in it). While the user drags, the cursor is hidden and held on the thumb; the parent
// hears of the new value once, by WM_COMMAND (the slider's id, the slider) when the button is released, and
// reads it with kSliderValue. Setting the value by message sends nothing. There is no hover effect and no
// keyboard handling.

#include "platform/ui/messages.h"
#include "toolkit/control_class.h"
#include "toolkit/property.h"

namespace kestrova {

// Property messages (property.h), each answering the property's value.
inline constexpr UINT kSliderThumbBitmap = WM_USER + 2;  // resource id of the thumb skin, 0 a plain thumb
// MAKELONG(minimum, maximum): the maximum is cut to 100, and a range that does not then span at least two
// values is refused (the slider keeps its range). Setting it lays the ticks out anew over the present
// width and brings the value and the level into it.
inline constexpr UINT kSliderRange = WM_USER + 3;
inline constexpr UINT kSliderValue = WM_USER + 4;  // clamped to the range
// Setting: MAKELONG(selector, v), v clamped to the range; selector 0 sets the level (the bar reaches the
// level's tick; the minimum shows no bar), any other the level colour, v clamped further to 0..2. Answers
// what was stored. Reading: lParam 0 the level, any other the level colour.
inline constexpr UINT kSliderLevel = WM_USER + 5;

enum SliderLevelColour : int32_t {
    kLevelBlue = 0,
    kLevelGreen = 1,
    kLevelRed = 2,
};

// The thumb skin: three 19 x 11 states, normal, dragging and disabled, one under the other.
inline constexpr int kSliderThumbSkin = 5473;

// A visible child slider with that id, place and range (applied without repainting). The windows make
// sliders 21 pixels high. A range the slider refuses gives it 0..1.
HWND CreateSliderEx(HWND parent, int id, int x, int y, int width, int height, int minimum, int maximum);

namespace toolkit {
extern const ControlClass kSliderExClass;
}

}  // namespace kestrova
