#pragma once
// The frame source of recording graphs: black RGB24 frames at a fixed rate, 320 x 240 or 640 x 480. A
// recording takes only the timing from it: the frames are painted over before they are recorded.

#include <memory>

#include "platform/media/base_filter.h"
#include "platform/media/stream_formats.h"

namespace kestrova::media {

class FrameSource : public SourceFilter {
public:
    // 20 frames a second, so the recording plays at that rate.
    static constexpr uint32_t kFramesPerSecond = 20;
    static constexpr REFERENCE_TIME kTimePerFrame = kUnitsPerSecond / kFramesPerSecond;

    FrameSource();

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    IAMStreamConfig* PinStreamConfig(IPin& pin) override;
    void Stream(StopFlag& stop) override;

private:
    IPin* output_;
    StreamFormats formats_;
};

}  // namespace kestrova::media
