#pragma once
// The camera settings window: a capture driver's own controls, the layer's stand-in for the property pages
// a driver offers. Every control shows its name, its value and its range; an integer takes a typed value
// (applied when the field is left, or with Enter) or a step of its "-" and "+" buttons, a boolean its check,
// a menu a choice from its button's popup, a button control its "Run". Each change goes to the driver at
// once and the window shows what the driver then reports. "Default" puts one control back to the driver's
// default, "All Defaults" every one. OK keeps the changes; Cancel, Escape or closing puts back the values
// found on opening. A failure is shown in the status line at the bottom.

#include <string>

#include "platform/media/driver_controls.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kCameraControlsClass[] = L"KestrovaCameraControls";

// The controls' ids. Control i of the driver's list (its row) has one id per part; OK and Cancel are IDOK and
// IDCANCEL.
enum class ControlPart { Value = 0, Less = 1, More = 2, Reset = 3 };
inline constexpr int kAllDefaultsId = 100;
inline constexpr int kPageListId = 101;
inline constexpr int kStatusLineId = 102;
inline constexpr int kFirstRowItemId = 1000;
inline constexpr int kPartsPerRow = 4;
inline constexpr int ControlItemId(size_t row, ControlPart part) {
    return kFirstRowItemId + int(row) * kPartsPerRow + int(part);
}

// Shows the window for `controls` modally over `owner` (which may be null), titled `cameraName`, and returns
// when the user closes it: true then, false when it could not be made.
bool ShowCameraControls(HWND owner, const std::wstring& cameraName, media::IDriverControls& controls);

}  // namespace kestrova
