#pragma once
// The virtual microphone: a 440 Hz tone in 16-bit PCM, loud or quiet, in buffers of a tenth of a second.
// It offers 44,100 Hz stereo, 22,050 Hz mono and 11,025 Hz mono.

#include "platform/media/base_filter.h"
#include "platform/media/stream_formats.h"

namespace kestrova::media {

class VirtualMicrophone : public SourceFilter {
public:
    static constexpr int16_t kLoudPeak = 24000;
    static constexpr int16_t kQuietPeak = 50;

    VirtualMicrophone();

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
