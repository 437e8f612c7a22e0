#pragma once
// The words the camera settings window shows for a driver's control: its range, a value, and a value typed
// by the user read back.

#include <string>

#include "platform/media/driver_controls.h"

namespace kestrova {

// "0 to 255", "0 to 95, by 5"; empty for kinds whose choices show themselves.
std::wstring RangeText(const media::DriverControl& control);
// A menu's choice by its name (or its number when the driver names none for it), any other value as a number.
std::wstring ValueText(const media::DriverControl& control, int32_t value);
// A whole number in the text, blanks round it allowed; false for anything else or a number beyond 32 bits.
bool ParseValue(const std::wstring& text, int32_t* value);

}  // namespace kestrova
