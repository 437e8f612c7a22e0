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

// Hands a formatted path to the caller: copied into `out` when it is given; returns its length.
int Emit(const char* path, int length, char* out) {
    if (length < 0) return 0;
    if (out != nullptr) std::snprintf(out, kCameraPathCapacity, "%s", path);
    return length;
}

}  // namespace

int BuildStreamPath(int family, int frameSize, char* out) {
    if (family < 0 || family >= kCameraFamilyCount) return 0;
    const CameraFamily& f = kFamilies[family];
    const char* query = frameSize == 1 ? f.smallQuery : frameSize == 2 ? f.largeQuery : "";
    char path[kCameraPathCapacity];
    return Emit(path, std::snprintf(path, sizeof(path), "%s%s", f.path, query), out);
}

int BuildPtzPath(int command, char* out) {
    char path[kCameraPathCapacity];
    if (command < kTiltUpStart || command > kPanRightStop) {
        return Emit(path, std::snprintf(path, sizeof(path), "decoder_control.cgi"), out);
    }
    return Emit(path, std::snprintf(path, sizeof(path), "decoder_control.cgi?command=%i", command), out);
}

int PtzStopPartner(int command) { return command % 2 == 0 ? command + 1 : command; }

int BuildFrameSizePath(int frameSize, char* out) {
    char path[kCameraPathCapacity];
    return Emit(path, std::snprintf(path, sizeof(path), "camera_control.cgi?param=0&value=%i", frameSize == 1), out);
}

int BuildCameraControlPath(int param, int value, char* out) {
    char path[kCameraPathCapacity];
    return Emit(path, std::snprintf(path, sizeof(path), "camera_control.cgi?param=%i&value=%i", param, value), out);
}

int LevelToCameraValue(int level) { return static_cast<int>(std::ceil(level * 10.2)); }

int CameraValueToLevel(int value) { return static_cast<int>(value * 0.09803921568627451); }

}  // namespace kestrova
