#include "platform/media/virtual/virtual_microphone.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/media/media_events.h"
#include "platform/media/stream_pacer.h"
#include "platform/media/virtual/virtual_devices.h"

namespace kestrova::media {
namespace {

constexpr uint32_t kBuffersPerSecond = 10;
constexpr double kToneHz = 440.0;

}  // namespace

VirtualMicrophone::VirtualMicrophone()
    : capture_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)),
      formats_(*capture_, {MakePcmType(44100, 2, 16), MakePcmType(22050, 1, 16), MakePcmType(11025, 1, 16)}) {
}

std::vector<AM_MEDIA_TYPE> VirtualMicrophone::PinMediaTypes(IPin&) {
    return {formats_.Current()};
}

bool VirtualMicrophone::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return type == formats_.Current();
}

IAMStreamConfig* VirtualMicrophone::PinStreamConfig(IPin&) {
    return &formats_;
}

void VirtualMicrophone::Stream(StopFlag& stop) {
    if (!capture_->IsConnected()) return;
    const WAVEFORMATEX wave = *capture_->ConnectedType().WaveFormat();
    const uint32_t frames = wave.nSamplesPerSec / kBuffersPerSecond;
    std::vector<int16_t> buffer(size_t(frames) * wave.nChannels);
    StreamPacer pacer(1000 / kBuffersPerSecond);
    uint64_t sampleNumber = 0;
    while (pacer.WaitNext(stop)) {
        const double peak = VirtualMicrophoneLoud() ? kLoudPeak : kQuietPeak;
        for (uint32_t i = 0; i < frames; ++i, ++sampleNumber) {
            const double phase =
                2.0 * std::numbers::pi * kToneHz * double(sampleNumber) / wave.nSamplesPerSec;
            const auto value = int16_t(std::lround(peak * std::sin(phase)));
            for (uint16_t c = 0; c < wave.nChannels; ++c) buffer[size_t(i) * wave.nChannels + c] = value;
        }
        MediaSample sample;
        sample.data = reinterpret_cast<uint8_t*>(buffer.data());
        sample.length = buffer.size() * sizeof(int16_t);
        sample.hasTime = true;
        sample.start = REFERENCE_TIME(sampleNumber - frames) * kUnitsPerSecond / wave.nSamplesPerSec;
        sample.stop = REFERENCE_TIME(sampleNumber) * kUnitsPerSecond / wave.nSamplesPerSec;
        const HRESULT hr = capture_->Deliver(sample);
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return;
        }
    }
}

}  // namespace kestrova::media
