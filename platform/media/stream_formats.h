#pragma once
// A list of fixed formats behind a pin's stream configuration: each entry a media type with its capability
// record. The chosen entry is what the pin proposes and accepts; it can change only while the pin is not
// connected.

#include <mutex>
#include <vector>

#include "platform/media/pin.h"
#include "platform/media/stream_config.h"

namespace kestrova::media {

class StreamFormats : public IAMStreamConfig {
public:
    // Every entry is a video type (128-byte records) or every entry an audio type (52-byte records).
    StreamFormats(const IPin& pin, std::vector<AM_MEDIA_TYPE> entries);

    HRESULT GetNumberOfCapabilities(int* count, int* size) override;
    HRESULT GetStreamCaps(int index, AM_MEDIA_TYPE* type, uint8_t* caps) override;
    HRESULT SetFormat(const AM_MEDIA_TYPE& type) override;
    HRESULT GetFormat(AM_MEDIA_TYPE* type) override;

    // The type in force.
    AM_MEDIA_TYPE Current();

private:
    const IPin& pin_;
    const std::vector<AM_MEDIA_TYPE> entries_;
    std::mutex mutex_;
    size_t current_ = 0;
};

}  // namespace kestrova::media
