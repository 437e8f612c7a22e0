#pragma once
// The format a microphone is set to before its capture graph is built.

#include "platform/media/stream_config.h"

namespace kestrova {

// With records of an audio capability's size (52 bytes), sets the first 16-bit PCM entry of 11,025 Hz mono,
// which is all a level meter needs, or else the first 16-bit PCM entry of any rate and channel count.
// E_FAIL (nothing set) for another record size or when no entry is 16-bit PCM.
media::HRESULT ChooseMicrophoneFormat(media::IAMStreamConfig& config, int count, int size);

}  // namespace kestrova
