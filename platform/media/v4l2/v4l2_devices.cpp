#include "platform/media/v4l2/v4l2_devices.h"

#include <linux/videodev2.h>

#include "platform/base/text.h"
#include "platform/media/v4l2/v4l2_kernel.h"

namespace kestrova::media {
namespace {

// The card name of a node that streams video capture; false for any other node.
bool ReadCaptureNode(V4l2Kernel& kernel, const std::string& node, std::string* card) {
    const int fd = kernel.Open(node);
    if (fd < 0) return false;
    v4l2_capability capability{};
    const bool queried = kernel.Ioctl(fd, VIDIOC_QUERYCAP, &capability) == 0;
    kernel.Close(fd);
    if (!queried) return false;
    // The node's own capabilities; the whole device's when the driver gives no separate ones.
    const uint32_t caps =
        (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps : capability.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING)) return false;
    *card = ReadFixedField(reinterpret_cast<const char*>(capability.card), sizeof(capability.card));
    return true;
}

}  // namespace

std::vector<V4l2Device> ListV4l2Cameras() {
    V4l2Kernel& kernel = GetV4l2Kernel();
    const auto links = kernel.StableLinks();
    std::vector<V4l2Device> cameras;
    for (const std::string& node : kernel.VideoNodes()) {
        std::string card;
        if (!ReadCaptureNode(kernel, node, &card)) continue;
        std::string path = node;
        for (const auto& [link, target] : links) {
            if (target == node) {
                path = link;
                break;
            }
        }
        cameras.push_back({node, FromUtf8(card), FromUtf8(path)});
    }
    return cameras;
}

}  // namespace kestrova::media
