#pragma once
// Camera-side controls of the IP camera kind: brightness and contrast read and set through the camera's CGI
// requests, exchanged as levels 0..25, and the pan/tilt commands with their timed stop.

#include <cstdint>
#include <string>

#include "engine/ipcam/camera_request.h"

namespace kestrova {

// The camera value that follows `key` in a reply holding "200 OK": at most three characters from the first
// digit after the key's first occurrence, read as a decimal number; -1 when there is none.
int ParseCameraValue(const std::string& reply, const char* key);

// Each runs one exchange on the caller's thread and returns (level << 16) | 1, or 0 on failure.
int GetCameraBrightness(const CameraConnection& connection);
int GetCameraContrast(const CameraConnection& connection);
int SetCameraBrightness(const CameraConnection& connection, int level);
int SetCameraContrast(const CameraConnection& connection, int level);

// Sends `command`; once the camera accepted it and `durationMs` is not 0, waits that long on the layer's
// clock and sends the command's stop partner. At most four replies without "200 OK" are borne in all.
void RunPtzCommand(const CameraConnection& connection, int command, int32_t durationMs);

}  // namespace kestrova
