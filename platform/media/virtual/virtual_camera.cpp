#include "platform/media/virtual/virtual_camera.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/media/media_events.h"
#include "platform/media/stream_pacer.h"
#include "platform/media/virtual/virtual_devices.h"

namespace kestrova::media {
namespace {

constexpr REFERENCE_TIME kTimePerFrame = kUnitsPerSecond / VirtualCamera::kFramesPerSecond;

struct Bgr {
    uint8_t b, g, r;
};

// Seven bars at three quarters of full level: every channel is 0 or 191, so the white box differs from
// each bar by at least 64 in every channel.
constexpr Bgr kBars[7] = {{191, 191, 191}, {0, 191, 191}, {191, 191, 0}, {0, 191, 0},
                          {191, 0, 191},   {0, 0, 191},   {191, 0, 0}};

// The box's top-left corner in frame `frame`: it runs left and right across the middle, 1/40 of the width
// per frame.
int BoxLeft(uint64_t frame, int width, int boxWidth) {
    const int range = width - boxWidth;
    const int step = width / 40;
    const int travel = int((frame * uint64_t(step)) % uint64_t(2 * range));
    return travel <= range ? travel : 2 * range - travel;
}

// The picture, top row first.
void PaintTopDown(int width, int height, uint64_t frame, std::vector<Bgr>& pixels) {
    pixels.resize(size_t(width) * size_t(height));
    const int boxWidth = width / 4, boxHeight = height / 4;
    const int boxLeft = BoxLeft(frame, width, boxWidth), boxTop = (height - boxHeight) / 2;
    for (int y = 0; y < height; ++y) {
        Bgr* row = &pixels[size_t(y) * size_t(width)];
        for (int x = 0; x < width; ++x) row[x] = kBars[x * 7 / width];
        if (y >= boxTop && y < boxTop + boxHeight)
            std::fill(row + boxLeft, row + boxLeft + boxWidth, Bgr{255, 255, 255});
    }
}

uint8_t Clip(int v) {
    return uint8_t(std::clamp(v, 0, 255));
}

}  // namespace

VirtualCamera::VirtualCamera()
    : capture_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)),
      formats_(*capture_, {MakeVideoType(MEDIASUBTYPE_YUY2, 640, 480, 16, kTimePerFrame),
                           MakeVideoType(MEDIASUBTYPE_RGB24, 640, 480, 24, kTimePerFrame),
                           MakeVideoType(MEDIASUBTYPE_YUY2, 320, 240, 16, kTimePerFrame),
                           MakeVideoType(MEDIASUBTYPE_RGB24, 320, 240, 24, kTimePerFrame)}) {}

void VirtualCamera::Paint(const AM_MEDIA_TYPE& type, uint64_t frame, uint8_t* out) {
    const BITMAPINFOHEADER& bmi = type.VideoInfo()->bmiHeader;
    const int width = bmi.biWidth, height = std::abs(bmi.biHeight);
    std::vector<Bgr> pixels;
    PaintTopDown(width, height, frame, pixels);
    if (type.subtype == MEDIASUBTYPE_RGB24) {
        const size_t stride = BitmapStride(width, 24);
        for (int y = 0; y < height; ++y) {
            const int stored = bmi.biHeight > 0 ? height - 1 - y : y;
            std::copy_n(reinterpret_cast<const uint8_t*>(&pixels[size_t(y) * size_t(width)]),
                        size_t(width) * 3, out + size_t(stored) * stride);
        }
        return;
    }
    // YUY2: ITU-R BT.601 studio range, chroma from the left pixel of each pair.
    for (size_t i = 0; i < pixels.size(); i += 2, out += 4) {
        const Bgr& p = pixels[i];
        const Bgr& q = pixels[i + 1];
        out[0] = Clip(((66 * p.r + 129 * p.g + 25 * p.b + 128) >> 8) + 16);
        out[1] = Clip(((-38 * p.r - 74 * p.g + 112 * p.b + 128) >> 8) + 128);
        out[2] = Clip(((66 * q.r + 129 * q.g + 25 * q.b + 128) >> 8) + 16);
        out[3] = Clip(((112 * p.r - 94 * p.g - 18 * p.b + 128) >> 8) + 128);
    }
}

std::vector<AM_MEDIA_TYPE> VirtualCamera::PinMediaTypes(IPin&) {
    return {formats_.Current()};
}

bool VirtualCamera::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return type == formats_.Current();
}

IAMStreamConfig* VirtualCamera::PinStreamConfig(IPin&) {
    return &formats_;
}

void VirtualCamera::Stream(StopFlag& stop) {
    if (!capture_->IsConnected()) return;
    const AM_MEDIA_TYPE type = capture_->ConnectedType();
    std::vector<uint8_t> frame(FrameBytes(type));
    StreamPacer pacer(1000 / kFramesPerSecond);
    uint64_t shown = 0;  // the picture's own frame number: it stands still while the camera is still
    while (pacer.WaitNext(stop)) {
        if (VirtualCameraMoving()) ++shown;
        Paint(type, shown, frame.data());
        MediaSample sample;
        sample.data = frame.data();
        sample.length = frame.size();
        sample.hasTime = true;
        sample.start = REFERENCE_TIME(pacer.Count() - 1) * kTimePerFrame;
        sample.stop = sample.start + kTimePerFrame;
        const HRESULT hr = capture_->Deliver(sample);
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return;
        }
    }
}

}  // namespace kestrova::media
