#pragma once
// The virtual camera: colour bars with a white box that moves across them while the picture is moving,
// as RGB24 (bottom-up) or YUY2 (top-down), 640 x 480 or 320 x 240, 20 frames a second.

#include "platform/media/base_filter.h"
#include "platform/media/stream_formats.h"

namespace kestrova::media {

class VirtualCamera : public SourceFilter {
public:
    static constexpr uint32_t kFramesPerSecond = 20;

    VirtualCamera();

    // The picture of frame `frame` in `type` (RGB24 or YUY2) into `out` (FrameBytes(type) bytes).
    static void Paint(const AM_MEDIA_TYPE& type, uint64_t frame, uint8_t* out);

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    IAMStreamConfig* PinStreamConfig(IPin& pin) override;
    void Stream(StopFlag& stop) override;

private:
    IPin* capture_;
    StreamFormats formats_;
};

}  // namespace kestrova::media
