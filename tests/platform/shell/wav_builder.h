#pragma once
// Builds WAV files byte by byte for the sound tests.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

struct WavSpec {
    uint16_t tag = 1;  // 1 integer PCM, 3 float, 0xFFFE extensible
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint16_t bits = 16;
    uint16_t subTag = 1;  // the real format of an extensible file
};

// Distinct bytes, so that a sample out of place shows.
std::vector<uint8_t> TestSamples(size_t bytes, uint8_t seed = 1);
// "RIFF" + "WAVE" + the fmt chunk of `spec` + a data chunk of `samples`; `extraChunk` (id and odd-length
// body) goes before the fmt chunk when given.
std::vector<uint8_t> MakeWav(const WavSpec& spec, const std::vector<uint8_t>& samples,
                             const std::string& extraChunk = {});

}  // namespace kestrova
