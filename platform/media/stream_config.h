#pragma once
// The stream configuration of an output pin: the formats it can deliver, each as a media type with a
// capability record, and the format chosen for the next connection.

#include <cstdint>

#include "platform/media/media_type.h"
#include "platform/media/results.h"

namespace kestrova::media {

struct SIZE {
    int32_t cx = 0;
    int32_t cy = 0;
};

// What a video format entry allows: 128 bytes.
struct VIDEO_STREAM_CONFIG_CAPS {
    FormatType formatType = FORMAT_VideoInfo;
    SIZE InputSize;
    SIZE MinOutputSize;
    SIZE MaxOutputSize;
    int32_t OutputGranularityX = 0;
    int32_t OutputGranularityY = 0;
    REFERENCE_TIME MinFrameInterval = 0;
    REFERENCE_TIME MaxFrameInterval = 0;
    int32_t MinBitsPerSecond = 0;
    int32_t MaxBitsPerSecond = 0;
    uint8_t reserved[64] = {};
};
static_assert(sizeof(VIDEO_STREAM_CONFIG_CAPS) == 128);

// What an audio format entry allows: 52 bytes.
struct AUDIO_STREAM_CONFIG_CAPS {
    FormatType formatType = FORMAT_WaveFormatEx;
    uint32_t MinimumChannels = 0;
    uint32_t MaximumChannels = 0;
    uint32_t ChannelsGranularity = 0;
    uint32_t MinimumBitsPerSample = 0;
    uint32_t MaximumBitsPerSample = 0;
    uint32_t BitsPerSampleGranularity = 0;
    uint32_t MinimumSampleFrequency = 0;
    uint32_t MaximumSampleFrequency = 0;
    uint32_t SampleFrequencyGranularity = 0;
    uint8_t reserved[12] = {};
};
static_assert(sizeof(AUDIO_STREAM_CONFIG_CAPS) == 52);

class IAMStreamConfig {
public:
    virtual ~IAMStreamConfig() = default;
    // The number of format entries and the byte size of one capability record (128 video, 52 audio).
    virtual HRESULT GetNumberOfCapabilities(int* count, int* size) = 0;
    // Entry `index`: its media type, and its capability record into `caps` (room for the size above).
    virtual HRESULT GetStreamCaps(int index, AM_MEDIA_TYPE* type, uint8_t* caps) = 0;
    // Chooses the format of the next connection; it must be one of the entries.
    virtual HRESULT SetFormat(const AM_MEDIA_TYPE& type) = 0;
    // The chosen format, or the first entry when none was chosen.
    virtual HRESULT GetFormat(AM_MEDIA_TYPE* type) = 0;
};

}  // namespace kestrova::media
