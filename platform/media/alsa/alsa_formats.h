#pragma once
// The 16-bit PCM formats an ALSA capture device accepts, as media types: every rate of a fixed list at
// stereo and mono that the device takes exactly.

#include <string>
#include <vector>

#include "platform/media/media_type.h"

namespace kestrova::media {

// Empty when the device cannot be opened for capture (absent or busy) or takes no 16-bit PCM.
std::vector<AM_MEDIA_TYPE> ProbeAlsaFormats(const std::string& pcmName);

}  // namespace kestrova::media
