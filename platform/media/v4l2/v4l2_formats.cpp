#include "platform/media/v4l2/v4l2_formats.h"

#include <linux/videodev2.h>

#include <algorithm>

namespace kestrova::media {
namespace {

struct Size {
    uint32_t width;
    uint32_t height;
};

// Sizes offered from a driver's size range: the two the program asks for, then the largest.
constexpr Size kRangeSizes[] = {{640, 480}, {320, 240}};

constexpr REFERENCE_TIME kDefaultTimePerFrame = kUnitsPerSecond / 30;

struct Carried {
    SubType subtype;
    int bitCount;
};

// Pixel formats that the layer's converter turns into RGB24; the driver's others cannot be carried.
bool Carries(uint32_t pixelFormat, Carried* carried) {
    switch (pixelFormat) {
        case V4L2_PIX_FMT_YUYV:
            *carried = {MEDIASUBTYPE_YUY2, 16};
            return true;
        case V4L2_PIX_FMT_MJPEG:
        case V4L2_PIX_FMT_JPEG:
            *carried = {MEDIASUBTYPE_MJPG, 24};
            return true;
        default:
            return false;
    }
}

bool InRange(const v4l2_frmsize_stepwise& range, Size size) {
    auto fits = [](uint32_t value, uint32_t minimum, uint32_t maximum, uint32_t step) {
        return value >= minimum && value <= maximum && (step == 0 || (value - minimum) % step == 0);
    };
    return fits(size.width, range.min_width, range.max_width, range.step_width) &&
           fits(size.height, range.min_height, range.max_height, range.step_height);
}

std::vector<Size> FrameSizes(V4l2Kernel& kernel, int fd, uint32_t pixelFormat) {
    std::vector<Size> sizes;
    for (uint32_t index = 0;; ++index) {
        v4l2_frmsizeenum entry{};
        entry.index = index;
        entry.pixel_format = pixelFormat;
        if (kernel.Ioctl(fd, VIDIOC_ENUM_FRAMESIZES, &entry) != 0) break;
        if (entry.type == V4L2_FRMSIZE_TYPE_DISCRETE) {
            sizes.push_back({entry.discrete.width, entry.discrete.height});
            continue;
        }
        for (Size size : kRangeSizes) {
            if (InRange(entry.stepwise, size)) sizes.push_back(size);
        }
        const Size largest{entry.stepwise.max_width, entry.stepwise.max_height};
        if (std::none_of(sizes.begin(), sizes.end(),
                         [&](Size s) { return s.width == largest.width && s.height == largest.height; })) {
            sizes.push_back(largest);
        }
        break;  // a range is the only entry
    }
    return sizes;
}

REFERENCE_TIME ToReferenceTime(const v4l2_fract& interval) {
    if (interval.numerator == 0 || interval.denominator == 0) return kDefaultTimePerFrame;
    return REFERENCE_TIME(int64_t(interval.numerator) * kUnitsPerSecond / interval.denominator);
}

// The shortest frame interval the driver offers at this size.
REFERENCE_TIME FastestInterval(V4l2Kernel& kernel, int fd, uint32_t pixelFormat, Size size) {
    REFERENCE_TIME fastest = 0;
    for (uint32_t index = 0;; ++index) {
        v4l2_frmivalenum entry{};
        entry.index = index;
        entry.pixel_format = pixelFormat;
        entry.width = size.width;
        entry.height = size.height;
        if (kernel.Ioctl(fd, VIDIOC_ENUM_FRAMEINTERVALS, &entry) != 0) break;
        const bool discrete = entry.type == V4L2_FRMIVAL_TYPE_DISCRETE;
        const REFERENCE_TIME interval = ToReferenceTime(discrete ? entry.discrete : entry.stepwise.min);
        if (fastest == 0 || interval < fastest) fastest = interval;
        if (!discrete) break;
    }
    return fastest ? fastest : kDefaultTimePerFrame;
}

}  // namespace

std::vector<V4l2Format> ListV4l2Formats(V4l2Kernel& kernel, int fd) {
    std::vector<V4l2Format> formats;
    for (uint32_t index = 0;; ++index) {
        v4l2_fmtdesc description{};
        description.index = index;
        description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (kernel.Ioctl(fd, VIDIOC_ENUM_FMT, &description) != 0) break;
        Carried carried;
        if (!Carries(description.pixelformat, &carried)) continue;
        for (Size size : FrameSizes(kernel, fd, description.pixelformat)) {
            if (size.width == 0 || size.height == 0) continue;
            const REFERENCE_TIME interval = FastestInterval(kernel, fd, description.pixelformat, size);
            formats.push_back({MakeVideoType(carried.subtype, int(size.width), int(size.height),
                                             carried.bitCount, interval),
                               description.pixelformat});
        }
    }
    return formats;
}

}  // namespace kestrova::media
