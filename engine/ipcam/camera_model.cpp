#include "engine/ipcam/camera_model.h"

#include <cmath>
#include <cstdio>

namespace kestrova {
namespace {

struct CameraFamily {
    const char* path;
    const char* smallQuery;  // frame size 1, 320 x 240
    const char* largeQuery;  // frame size 2, 640 x 480
};

constexpr CameraFamily kFamilies[kCameraFamilyCount] = {
    {"videostream.cgi", "?resolution=8", "?resolution=32"},
    {"video.cgi", "?resolution=qvga", "?resolution=vga"},
    {"axis-cgi/mjpg/video.cgi", "?resolution=320x240", "?resolution=640x480"},
    {"axis-cgi/mjpg/mjpeg.cgi", "?resolution=qvga", "?resolution=vga"},
};

// Formats into `out` when it is given, always returning the full length.
template <typename... Args>
int FormatPath(char* out, const char* format, Args... args) {
    char scratch[kCameraPathCapacity];
    char* target = out != nullptr ? out : scratch;
    const int length = std::snprintf(target, kCameraPathCapacity, format, args...);
    return length < 0 ? 0 : length;
}

}  // namespace

int BuildStreamPath(int family, int frameSize, char* out) {
    if (family < 0 || family >= kCameraFamilyCount) return 0;
    const CameraFamily& f = kFamilies[family];
    const char* query = frameSize == 1 ? f.smallQuery : frameSize == 2 ? f.largeQuery : "";
    return FormatPath(out, "%s%s", f.path, query);
}

int BuildPtzPath(int command, char* out) {
    if (command < kTiltUpStart || command > kPanRightStop) return FormatPath(out, "decoder_control.cgi");
    return FormatPath(out, "decoder_control.cgi?command=%i", command);
}

int PtzStopPartner(int command) { return command % 2 == 0 ? command + 1 : command; }

int BuildFrameSizePath(int frameSize, char* out) {
    return FormatPath(out, "camera_control.cgi?param=0&value=%i", frameSize == 1 ? 1 : 0);
}

int BuildCameraControlPath(int param, int value, char* out) {
    return FormatPath(out, "camera_control.cgi?param=%i&value=%i", param, value);
}

int LevelToCameraValue(int level) { return static_cast<int>(std::ceil(level * 10.2)); }

int CameraValueToLevel(int value) { return static_cast<int>(value * 0.09803921568627451); }

}  // namespace kestrova
