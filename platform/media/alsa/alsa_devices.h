#pragma once
// The ALSA capture devices to offer: the default device, each card's default ("sysdefault:CARD=..."), which
// other programs can capture from at the same time, and the capture devices a user's configuration names;
// only those that open for capture and take 16-bit PCM.

#include <string>
#include <vector>

namespace kestrova::media {

struct AlsaDevice {
    std::string pcmName;        // what snd_pcm_open takes
    std::wstring friendlyName;  // the first line of the device's description
};

std::vector<AlsaDevice> ListAlsaCaptureDevices();

}  // namespace kestrova::media
