#pragma once
// A V4L2 camera's own controls through the kernel seam: listed with the NEXT_CTRL walk of VIDIOC_QUERYCTRL
// (integers, booleans, menus, integer menus and buttons; disabled ones and kinds the layer does not show
// are left out), read with VIDIOC_G_CTRL and set with VIDIOC_S_CTRL, several at once with
// VIDIOC_S_EXT_CTRLS. Every failure comes back with the driver's error number in it.

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/media/driver_controls.h"
#include "platform/media/v4l2/v4l2_kernel.h"

namespace kestrova::media {

HRESULT ListV4l2Controls(V4l2Kernel& kernel, int fd, std::vector<DriverControl>* controls);
HRESULT GetV4l2Control(V4l2Kernel& kernel, int fd, uint32_t id, int32_t* value);
HRESULT SetV4l2Control(V4l2Kernel& kernel, int fd, uint32_t id, int32_t value);
HRESULT SetV4l2Controls(V4l2Kernel& kernel, int fd, const std::vector<std::pair<uint32_t, int32_t>>& values,
                        size_t* failedAt);

}  // namespace kestrova::media
