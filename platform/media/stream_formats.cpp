#include "platform/media/stream_formats.h"

#include <cstdlib>
#include <cstring>

namespace kestrova::media {
namespace {

bool IsAudio(const std::vector<AM_MEDIA_TYPE>& entries) {
    return !entries.empty() && entries.front().majortype == MEDIATYPE_Audio;
}

VIDEO_STREAM_CONFIG_CAPS VideoCaps(const AM_MEDIA_TYPE& type) {
    VIDEO_STREAM_CONFIG_CAPS caps;
    if (const VIDEOINFOHEADER* info = type.VideoInfo()) {
        const SIZE size{info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight)};
        caps.InputSize = caps.MinOutputSize = caps.MaxOutputSize = size;
        caps.MinFrameInterval = caps.MaxFrameInterval = info->AvgTimePerFrame;
        caps.MinBitsPerSecond = caps.MaxBitsPerSecond = int32_t(info->dwBitRate);
    }
    return caps;
}

AUDIO_STREAM_CONFIG_CAPS AudioCaps(const AM_MEDIA_TYPE& type) {
    AUDIO_STREAM_CONFIG_CAPS caps;
    if (const WAVEFORMATEX* wave = type.WaveFormat()) {
        caps.MinimumChannels = caps.MaximumChannels = wave->nChannels;
        caps.MinimumBitsPerSample = caps.MaximumBitsPerSample = wave->wBitsPerSample;
        caps.MinimumSampleFrequency = caps.MaximumSampleFrequency = wave->nSamplesPerSec;
        caps.ChannelsGranularity = caps.BitsPerSampleGranularity = caps.SampleFrequencyGranularity = 1;
    }
    return caps;
}

}  // namespace

StreamFormats::StreamFormats(const IPin& pin, std::vector<AM_MEDIA_TYPE> entries)
    : pin_(pin), entries_(std::move(entries)) {}

HRESULT StreamFormats::GetNumberOfCapabilities(int* count, int* size) {
    if (!count || !size) return E_POINTER;
    *count = int(entries_.size());
    *size = IsAudio(entries_) ? int(sizeof(AUDIO_STREAM_CONFIG_CAPS)) : int(sizeof(VIDEO_STREAM_CONFIG_CAPS));
    return S_OK;
}

HRESULT StreamFormats::GetStreamCaps(int index, AM_MEDIA_TYPE* type, uint8_t* caps) {
    if (!type || !caps) return E_POINTER;
    if (index < 0 || size_t(index) >= entries_.size()) return S_FALSE;
    *type = entries_[size_t(index)];
    if (IsAudio(entries_)) {
        const AUDIO_STREAM_CONFIG_CAPS record = AudioCaps(*type);
        std::memcpy(caps, &record, sizeof(record));
    } else {
        const VIDEO_STREAM_CONFIG_CAPS record = VideoCaps(*type);
        std::memcpy(caps, &record, sizeof(record));
    }
    return S_OK;
}

HRESULT StreamFormats::SetFormat(const AM_MEDIA_TYPE& type) {
    if (pin_.IsConnected()) return VFW_E_ALREADY_CONNECTED;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] == type) {
            std::lock_guard<std::mutex> lock(mutex_);
            current_ = i;
            return S_OK;
        }
    }
    return VFW_E_INVALIDMEDIATYPE;
}

HRESULT StreamFormats::GetFormat(AM_MEDIA_TYPE* type) {
    if (!type) return E_POINTER;
    *type = Current();
    return S_OK;
}

AM_MEDIA_TYPE StreamFormats::Current() {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.empty() ? AM_MEDIA_TYPE{} : entries_[current_];
}

}  // namespace kestrova::media
