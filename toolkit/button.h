#pragma once
// WButtonEx_0000, the toolkit's skinned button: push buttons, two-icon check buttons, cycle and spin
// buttons that step a value, and latch buttons. Text buttons come from the factories (factories.h) with the
// nine-slice skin; windows configure their own image buttons with stacked skins.
//
// The parent hears of a click or a changed value by WM_COMMAND (the button's id, the button) and reads the
// value (kButtonValue) or the check state (kButtonChecked). A latch button sends WM_COMMAND only when it
// becomes latched. WM_NOTIFY tells the parent's hover effects (tooltips) that the cursor rested on the
// button for 191 ms, or that it left the button or the button lost the mouse capture.

#include <cstdint>

#include "platform/ui/messages.h"
#include "toolkit/control_class.h"
#include "toolkit/property.h"

namespace kestrova {

// Property messages (property.h), each answering the property's value.
inline constexpr UINT kButtonKind = WM_USER + 2;              // ButtonKind
inline constexpr UINT kButtonBackgroundMode = WM_USER + 3;    // ButtonBackground
inline constexpr UINT kButtonBackgroundBitmap = WM_USER + 4;  // resource id
inline constexpr UINT kButtonIcon1 = WM_USER + 5;             // resource id, 0 for none
inline constexpr UINT kButtonIcon2 = WM_USER + 6;             // resource id, 0 for none
inline constexpr UINT kButtonIcon1Position = WM_USER + 7;     // MAKELONG(x, y)
// MAKELONG(x, y); x is measured from the right edge, except for a check button.
inline constexpr UINT kButtonIcon2Position = WM_USER + 8;
// Pixels: the part of the client area that reacts to the mouse becomes the client area less this on every
// side, measured when it is set (a later resize does not change it). Until it is set, the whole client area
// reacts.
inline constexpr UINT kButtonHitInset = WM_USER + 9;
inline constexpr UINT kButtonTextX = WM_USER + 10;          // left edge of the text, -1 centred
inline constexpr UINT kButtonChecked = WM_USER + 11;        // 0 or 1
inline constexpr UINT kButtonToggleOnClick = WM_USER + 12;  // 0 or 1
inline constexpr UINT kButtonValue = WM_USER + 13;          // any integer, stored as given
inline constexpr UINT kButtonRange = WM_USER + 14;          // MAKELONG(minimum, maximum)

enum ButtonKind : int32_t {
    kPushButton = 0,
    kCheckButton = 1,  // shows icon 1 unchecked and icon 2 checked
    kCycleButton = 2,  // a click steps the value, past the maximum back to the minimum
    kSpinButton = 3,   // a click steps the value up or down by where it lands; held, it repeats
    kLatchButton = 4,  // a click latches it (and it keeps the mouse), the next releases it
};

enum ButtonBackground : int32_t {
    kNineSliceBackground = 0,  // 37 x 148: four 37 x 37 state blocks, stretched to any size
    kStackedBackground = 1,    // four whole-size faces of the button's height, one under the other
};

// WM_NOTIFY codes.
inline constexpr UINT kButtonCursorRested = 0;
inline constexpr UINT kButtonCursorLeft = 1;

// A visible child button with that text, id and place, not yet configured (at least its background bitmap
// is set next).
HWND CreateButtonEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height);

namespace toolkit {
extern const ControlClass kButtonExClass;
}

}  // namespace kestrova
