#pragma once
// A scripted camera with a driver's worth of controls of every kind the layer shows, and a few it leaves
// out: for the controls' own tests, the camera settings window's and its picture.

#include "scripted_v4l2.h"

namespace kestrova::mediatest {

// Two classes of controls, listed by id as drivers do: "User Controls" (brightness, contrast, automatic
// white balance, power-line frequency, an inactive colour temperature; a disabled saturation and a 64-bit
// integer left out) and "Camera Controls" (an exposure menu with holes, an inactive exposure time, a
// read-only privacy switch, an auto-focus button and an integer menu of focus steps).
ScriptedCamera CameraWithSettings();

// Ids the tests name.
inline constexpr uint32_t kFocusStepsId = V4L2_CID_CAMERA_CLASS_BASE + 0x100;
inline constexpr uint32_t kSixtyFourId = V4L2_CID_USER_BASE + 0x1000;

}  // namespace kestrova::mediatest
