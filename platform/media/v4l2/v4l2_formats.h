#pragma once
// The capture formats a V4L2 camera lists, as the media types of its stream configuration: every pixel
// format the layer can carry (YUYV, MJPEG) at every frame size the driver offers, each at its fastest
// frame rate.

#include <cstdint>
#include <vector>

#include "platform/media/media_type.h"
#include "platform/media/v4l2/v4l2_kernel.h"

namespace kestrova::media {

struct V4l2Format {
    AM_MEDIA_TYPE type;
    uint32_t pixelFormat = 0;  // the driver's four-character code
};

// The formats of the open node `fd`, in the driver's order.
std::vector<V4l2Format> ListV4l2Formats(V4l2Kernel& kernel, int fd);

}  // namespace kestrova::media
