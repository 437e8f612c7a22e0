#pragma once
// What the program knows of IP cameras: the four camera families and their stream paths, the pan/tilt
// commands, the other request paths, and the exchange of brightness and contrast levels with camera values.

#include <cstddef>
#include <cstdint>

namespace kestrova {

inline constexpr int kCameraFamilyCount = 4;
inline constexpr size_t kCameraPathCapacity = 256;

// Pan/tilt commands as the camera knows them; each start command's stop partner is the next odd number.
enum PtzCommand : int32_t {
    kTiltUpStart = 0,
    kTiltUpStop = 1,
    kTiltDownStart = 2,
    kTiltDownStop = 3,
    kPanLeftStart = 4,
    kPanLeftStop = 5,
    kPanRightStart = 6,
    kPanRightStop = 7,
};

// Writes the stream path of `family` for `frameSize` (1 = 320 x 240, 2 = 640 x 480, anything else no query)
// into `out` (kCameraPathCapacity bytes) when given, and returns its length; 0 for an unknown family.
int BuildStreamPath(int family, int frameSize, char* out);
// Likewise the pan/tilt path for `command`; a command outside 0..7 gives the path without a query.
int BuildPtzPath(int command, char* out);
// The command that ends `command`'s movement (an odd command is its own partner).
int PtzStopPartner(int command);
// The request that sets the camera's picture size before every stream request.
int BuildFrameSizePath(int frameSize, char* out);

inline constexpr const char* kCameraParamsPath = "get_camera_params.cgi";
inline constexpr int kBrightnessParam = 1;
inline constexpr int kContrastParam = 2;
// "camera_control.cgi?param=%i&value=%i".
int BuildCameraControlPath(int param, int value, char* out);

// Brightness and contrast travel through the program as levels 0..25 and to the camera as values 0..255.
int LevelToCameraValue(int level);
int CameraValueToLevel(int value);

}  // namespace kestrova
