#include "platform/media/frame_source.h"

#include <cstring>

#include "platform/media/media_events.h"
#include "platform/media/stream_pacer.h"

namespace kestrova::media {

FrameSource::FrameSource()
    : output_(AddPin(L"Output", PINDIR_OUTPUT)),
      formats_(*output_, {MakeVideoType(MEDIASUBTYPE_RGB24, 320, 240, 24, kTimePerFrame),
                          MakeVideoType(MEDIASUBTYPE_RGB24, 640, 480, 24, kTimePerFrame)}) {}

std::vector<AM_MEDIA_TYPE> FrameSource::PinMediaTypes(IPin&) {
    return {formats_.Current()};
}

bool FrameSource::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return type == formats_.Current();
}

IAMStreamConfig* FrameSource::PinStreamConfig(IPin&) {
    return &formats_;
}

void FrameSource::Stream(StopFlag& stop) {
    if (!output_->IsConnected()) return;
    std::vector<uint8_t> frame(FrameBytes(output_->ConnectedType()));
    StreamPacer pacer(1000 / kFramesPerSecond);
    while (pacer.WaitNext(stop)) {
        // Cleared every time: downstream may have painted the last frame into this buffer.
        std::memset(frame.data(), 0, frame.size());
        MediaSample sample;
        sample.data = frame.data();
        sample.length = frame.size();
        sample.hasTime = true;
        sample.start = REFERENCE_TIME(pacer.Count() - 1) * kTimePerFrame;
        sample.stop = sample.start + kTimePerFrame;
        const HRESULT hr = output_->Deliver(sample);
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return;
        }
    }
}

}  // namespace kestrova::media
