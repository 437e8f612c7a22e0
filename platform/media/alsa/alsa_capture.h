#pragma once
// An ALSA capture device as a capture filter: one capture pin whose stream configuration lists the 16-bit
// PCM formats the device takes; while the graph runs, the streaming thread reads the device a tenth of a
// second at a time and sends each buffer down the pin. A device that goes away queues EC_DEVICE_LOST.

#include <alsa/asoundlib.h>

#include <string>
#include <vector>

#include "platform/media/base_filter.h"
#include "platform/media/stream_formats.h"

namespace kestrova::media {

class AlsaCapture : public SourceFilter {
public:
    static constexpr uint32_t kBuffersPerSecond = 10;

    explicit AlsaCapture(std::string pcmName);
    ~AlsaCapture() override;

    // False when the device could not be opened or takes no 16-bit PCM.
    bool Usable() const { return !formats_.empty(); }

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    IAMStreamConfig* PinStreamConfig(IPin& pin) override;
    HRESULT OnRun() override;
    void OnStop() override;
    void Stream(StopFlag& stop) override;

private:
    HRESULT OpenDevice(const WAVEFORMATEX& wave);
    // Reads what the device has into the buffer; false when the stream must end.
    bool ReadAvailable(size_t* filled);
    void EndStream(int error);

    const std::string pcmName_;
    const std::vector<AM_MEDIA_TYPE> formats_;
    IPin* capture_;
    StreamFormats config_;
    snd_pcm_t* pcm_ = nullptr;
    WAVEFORMATEX wave_{};
    std::vector<uint8_t> buffer_;
};

}  // namespace kestrova::media
