#include "platform/media/alsa/alsa_capture.h"

#include <cerrno>

#include "platform/media/alsa/alsa_errors.h"
#include "platform/media/alsa/alsa_formats.h"
#include "platform/media/media_events.h"

namespace kestrova::media {
namespace {

// How long the streaming thread waits for the device before it looks at its stop flag again.
constexpr int kWaitMs = 50;
constexpr snd_pcm_uframes_t kPeriodsPerBuffer = 4;

}  // namespace

AlsaCapture::AlsaCapture(std::string pcmName)
    : pcmName_(std::move(pcmName)),
      formats_(ProbeAlsaFormats(pcmName_)),
      capture_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)),
      config_(*capture_, formats_) {}

AlsaCapture::~AlsaCapture() {
    if (pcm_) snd_pcm_close(pcm_);
}

std::vector<AM_MEDIA_TYPE> AlsaCapture::PinMediaTypes(IPin&) {
    if (formats_.empty()) return {};
    return {config_.Current()};
}

bool AlsaCapture::PinAccepts(IPin&, const AM_MEDIA_TYPE& type) {
    return !formats_.empty() && type == config_.Current();
}

IAMStreamConfig* AlsaCapture::PinStreamConfig(IPin&) {
    return &config_;
}

HRESULT AlsaCapture::OpenDevice(const WAVEFORMATEX& wave) {
    RouteAlsaErrorsToDebugOutput();
    if (snd_pcm_open(&pcm_, pcmName_.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) != 0) {
        pcm_ = nullptr;
        return E_FAIL;
    }
    snd_pcm_hw_params_t* params;
    snd_pcm_hw_params_alloca(&params);
    snd_pcm_uframes_t period = wave.nSamplesPerSec / kBuffersPerSecond;
    snd_pcm_uframes_t size = period * kPeriodsPerBuffer;
    const bool set = snd_pcm_hw_params_any(pcm_, params) >= 0 &&
                     snd_pcm_hw_params_set_access(pcm_, params, SND_PCM_ACCESS_RW_INTERLEAVED) == 0 &&
                     snd_pcm_hw_params_set_format(pcm_, params, SND_PCM_FORMAT_S16_LE) == 0 &&
                     snd_pcm_hw_params_set_channels(pcm_, params, wave.nChannels) == 0 &&
                     snd_pcm_hw_params_set_rate(pcm_, params, wave.nSamplesPerSec, 0) == 0 &&
                     snd_pcm_hw_params_set_period_size_near(pcm_, params, &period, nullptr) == 0 &&
                     snd_pcm_hw_params_set_buffer_size_near(pcm_, params, &size) == 0 &&
                     snd_pcm_hw_params(pcm_, params) == 0 && snd_pcm_prepare(pcm_) == 0;
    if (!set) {
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
        return E_FAIL;
    }
    wave_ = wave;
    buffer_.assign(size_t(wave.nSamplesPerSec / kBuffersPerSecond) * wave.nBlockAlign, 0);
    return S_OK;
}

HRESULT AlsaCapture::OnRun() {
    if (!capture_->IsConnected()) return S_OK;
    const WAVEFORMATEX* wave = capture_->ConnectedType().WaveFormat();
    if (!wave) return VFW_E_INVALIDMEDIATYPE;
    return OpenDevice(*wave);
}

void AlsaCapture::OnStop() {
    if (!pcm_) return;
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
}

bool AlsaCapture::ReadAvailable(size_t* filled) {
    const snd_pcm_uframes_t wanted = (buffer_.size() - *filled) / wave_.nBlockAlign;
    const snd_pcm_sframes_t read = snd_pcm_readi(pcm_, buffer_.data() + *filled, wanted);
    if (read >= 0) {
        *filled += size_t(read) * wave_.nBlockAlign;
        return true;
    }
    if (read == -EAGAIN) return true;
    // An overrun (the program fell behind) or a suspend is recovered from; what was lost stays lost.
    if (snd_pcm_recover(pcm_, int(read), 1) == 0) return true;
    EndStream(int(-read));
    return false;
}

void AlsaCapture::Stream(StopFlag& stop) {
    if (!pcm_) return;
    uint64_t frames = 0;  // delivered so far, for the samples' times
    size_t filled = 0;
    while (!stop.Requested()) {
        const int ready = snd_pcm_wait(pcm_, kWaitMs);
        if (ready == 0) continue;
        if (ready < 0 && snd_pcm_recover(pcm_, ready, 1) != 0) return EndStream(-ready);
        if (!ReadAvailable(&filled)) return;
        if (filled < buffer_.size()) continue;
        const uint64_t count = buffer_.size() / wave_.nBlockAlign;
        MediaSample sample;
        sample.data = buffer_.data();
        sample.length = buffer_.size();
        sample.hasTime = true;
        sample.start = REFERENCE_TIME(frames * kUnitsPerSecond / wave_.nSamplesPerSec);
        frames += count;
        sample.stop = REFERENCE_TIME(frames * kUnitsPerSecond / wave_.nSamplesPerSec);
        filled = 0;
        const HRESULT hr = capture_->Deliver(sample);
        if (FAILED(hr)) {
            NotifyEvent(EC_ERRORABORT, hr, 0);
            return;
        }
    }
}

void AlsaCapture::EndStream(int error) {
    if (error == ENODEV) {
        NotifyEvent(EC_DEVICE_LOST, reinterpret_cast<intptr_t>(static_cast<IBaseFilter*>(this)), 0);
    } else {
        NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
    }
}

}  // namespace kestrova::media
