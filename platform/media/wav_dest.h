#pragma once
// The WAV writer: PCM audio in, a WAV file stream out to a File Writer. The header is written with the
// first byte, again about once a second of sound so that a recording cut off by a crash or a power cut
// stays playable and loses at most that second, and with the final sizes when the graph stops.

#include <cstdint>
#include <mutex>

#include "platform/media/base_filter.h"

namespace kestrova::media {

class WavDest : public IBaseFilter {
public:
    // The most audio a WAV file can describe: its sizes are 32-bit, and the RIFF size counts 36 bytes of
    // header besides the data (and a pad byte after odd data).
    static constexpr uint32_t kMaxDataBytes = 0xFFFFFFFFu - 36 - 1;

    // Audio beyond `maxDataBytes` is dropped, so the header stays true however long the graph runs.
    explicit WavDest(uint32_t maxDataBytes = kMaxDataBytes);

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
    HRESULT OnRun() override;
    void OnStop() override;

private:
    HRESULT WriteAt(int64_t position, uint8_t* data, size_t size, bool syncFirst = false);
    // The header for `dataBytes` of sound, written once the sound before it is durable.
    HRESULT WriteHeader(uint32_t dataBytes);

    IPin* input_;
    IPin* output_;
    const uint32_t maxDataBytes_;
    std::mutex mutex_;
    bool writing_ = false;
    uint32_t dataBytes_ = 0;
    uint32_t bytesSinceHeader_ = 0;
};

}  // namespace kestrova::media
