#pragma once
// The V4L2 cameras attached now: the nodes that capture video (a camera's metadata nodes are left out),
// each with the driver's name for it and the stable path that finds it again after a restart.

#include <string>
#include <vector>

namespace kestrova::media {

struct V4l2Device {
    std::string node;           // /dev/video<N>
    std::wstring friendlyName;  // the driver's card name
    // The first /dev/v4l/by-id link to the node, else the first by-path link, else the node itself.
    std::wstring devicePath;
};

// Through the installed kernel seam.
std::vector<V4l2Device> ListV4l2Cameras();

}  // namespace kestrova::media
