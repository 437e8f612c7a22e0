#include "engine/usbcam/camera_format.h"

#include <vector>

namespace kestrova {

using namespace media;

void ChooseCameraFormat(IAMStreamConfig& config, int count, int size, int frameSize) {
    if (size != int(sizeof(VIDEO_STREAM_CONFIG_CAPS))) return;
    int width = 0, height = 0;
    if (frameSize == 1) {
        width = 320, height = 240;
    } else if (frameSize == 2) {
        width = 640, height = 480;
    }
    std::vector<uint8_t> caps(static_cast<size_t>(size));
    for (int index = 0; index < count; ++index) {
        AM_MEDIA_TYPE type;
        if (FAILED(config.GetStreamCaps(index, &type, caps.data()))) continue;
        const VIDEOINFOHEADER* info = type.VideoInfo();
        // The subtype does not matter: the graph converts what the camera gives.
        if (type.majortype == MEDIATYPE_Video && info != nullptr && info->bmiHeader.biWidth == width &&
            info->bmiHeader.biHeight == height) {
            config.SetFormat(type);  // an entry of the pin's own list, before it connects: never refused
        }
    }
}

}  // namespace kestrova
