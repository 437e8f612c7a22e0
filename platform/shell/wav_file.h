#pragma once
// Reading a WAV file into the samples and format that playback needs.

#include <cstdint>
#include <vector>

namespace kestrova {

enum class SampleFormat { kUnsigned8, kSigned16, kSigned24, kSigned32, kFloat32 };

struct WavSound {
    SampleFormat format = SampleFormat::kSigned16;
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t bytesPerFrame = 0;
    std::vector<uint8_t> samples;  // little-endian, interleaved, whole frames only
};

// Parses a RIFF WAVE file holding integer PCM (8, 16, 24, 32 bits) or 32-bit float samples. A data chunk that
// claims more than the file holds is cut to what is there. False on anything else, or on no sample at all.
bool ParseWav(const std::vector<uint8_t>& file, WavSound& out);

}  // namespace kestrova
