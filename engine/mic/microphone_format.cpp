#include "engine/mic/microphone_format.h"

#include <vector>

namespace kestrova {
namespace {

using namespace media;

bool IsPcm16(const AM_MEDIA_TYPE& type) {
    const WAVEFORMATEX* wave = type.WaveFormat();
    return type.majortype == MEDIATYPE_Audio && type.subtype == MEDIASUBTYPE_PCM && wave != nullptr &&
           wave->wBitsPerSample == 16;
}

bool IsMono11025(const AM_MEDIA_TYPE& type) {
    const WAVEFORMATEX* wave = type.WaveFormat();
    return wave->nSamplesPerSec == 11025 && wave->nChannels == 1;
}

// Sets the first entry that passes `wanted`; false when none does.
template <class Wanted>
bool SetFirst(IAMStreamConfig& config, int count, int size, Wanted wanted) {
    std::vector<uint8_t> caps(static_cast<size_t>(size));
    for (int index = 0; index < count; ++index) {
        AM_MEDIA_TYPE type;
        if (FAILED(config.GetStreamCaps(index, &type, caps.data()))) continue;
        if (IsPcm16(type) && wanted(type) && SUCCEEDED(config.SetFormat(type))) return true;
    }
    return false;
}

}  // namespace

HRESULT ChooseMicrophoneFormat(IAMStreamConfig& config, int count, int size) {
    if (size != int(sizeof(AUDIO_STREAM_CONFIG_CAPS))) return E_FAIL;
    if (SetFirst(config, count, size, IsMono11025)) return S_OK;
    if (SetFirst(config, count, size, [](const AM_MEDIA_TYPE&) { return true; })) return S_OK;
    return E_FAIL;
}

}  // namespace kestrova
