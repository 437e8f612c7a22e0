#include "platform/media/alsa/alsa_formats.h"

#include <alsa/asoundlib.h>

#include "platform/media/alsa/alsa_errors.h"

namespace kestrova::media {
namespace {

// Rates in the order offered: the common ones first, so that a caller taking the first entry gets one of
// them.
constexpr unsigned kRates[] = {44100, 48000, 22050, 16000, 11025, 8000};
constexpr unsigned kChannels[] = {2, 1};

bool Accepts(snd_pcm_t* pcm, const snd_pcm_hw_params_t* any, unsigned rate, unsigned channels) {
    snd_pcm_hw_params_t* params;
    snd_pcm_hw_params_alloca(&params);
    snd_pcm_hw_params_copy(params, any);
    return snd_pcm_hw_params_set_access(pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED) == 0 &&
           snd_pcm_hw_params_set_format(pcm, params, SND_PCM_FORMAT_S16_LE) == 0 &&
           snd_pcm_hw_params_set_channels(pcm, params, channels) == 0 &&
           snd_pcm_hw_params_set_rate(pcm, params, rate, 0) == 0;
}

}  // namespace

std::vector<AM_MEDIA_TYPE> ProbeAlsaFormats(const std::string& pcmName) {
    RouteAlsaErrorsToDebugOutput();
    std::vector<AM_MEDIA_TYPE> formats;
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, pcmName.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK) != 0) return formats;
    snd_pcm_hw_params_t* any;
    snd_pcm_hw_params_alloca(&any);
    if (snd_pcm_hw_params_any(pcm, any) >= 0) {
        for (unsigned rate : kRates) {
            for (unsigned channels : kChannels) {
                if (Accepts(pcm, any, rate, channels))
                    formats.push_back(MakePcmType(rate, uint16_t(channels), 16));
            }
        }
    }
    snd_pcm_close(pcm);
    return formats;
}

}  // namespace kestrova::media
