#pragma once
// The microphone's sound level: the loudest sample of an audio buffer, cut by a threshold and scaled by a
// gain that both follow the device's Sensitivity, as a level 0..10.

#include <cstdint>

namespace kestrova {

inline constexpr int kTopSoundLevel = 10;

// The largest of every tenth 16-bit sample (0, 10, 20 ...) of `length` bytes, at least 0: a meter that
// reads a tenth of the samples sees a buffer's loudness at a tenth of the cost. A last odd byte is ignored.
int PeakOfBuffer(const uint8_t* buffer, long length);

// The level 0..10 of `peak` at `sensitivity` (clamped to 0..10). Peaks below the sensitivity's threshold
// give 0; a peak at the threshold already gives level 1 or more.
int SoundLevelOf(int peak, int sensitivity);

}  // namespace kestrova
