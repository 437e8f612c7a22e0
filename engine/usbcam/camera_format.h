#pragma once
// The format a USB camera is set to before its capture graph is built.

#include "platform/media/stream_config.h"

namespace kestrova {

// With records of a video capability's size (128 bytes), sets every entry of `count` that is a video info
// format of the frame size's picture (1: 320 x 240, 2: 640 x 480, bottom-up), so that the last such entry
// is the one in force. Any other record size, another frame size or no such entry leaves the camera's own
// format.
void ChooseCameraFormat(media::IAMStreamConfig& config, int count, int size, int frameSize);

}  // namespace kestrova
