#include "tests/platform/shell/wav_builder.h"

namespace kestrova {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void PutId(std::vector<uint8_t>& v, const char* id) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(id[i]));
}

}  // namespace

std::vector<uint8_t> TestSamples(size_t bytes, uint8_t seed) {
    std::vector<uint8_t> s(bytes);
    for (size_t i = 0; i < bytes; ++i) s[i] = uint8_t(seed + i * 7 + i / 251);
    return s;
}

std::vector<uint8_t> MakeWav(const WavSpec& spec, const std::vector<uint8_t>& samples,
                             const std::string& extraChunk) {
    std::vector<uint8_t> w;
    PutId(w, "RIFF");
    Put32(w, 0);
    PutId(w, "WAVE");
    if (!extraChunk.empty()) {
        PutId(w, extraChunk.substr(0, 4).c_str());
        std::string body = extraChunk.substr(4);
        Put32(w, uint32_t(body.size()));
        for (char c : body) w.push_back(uint8_t(c));
        if (body.size() & 1) w.push_back(0);
    }
    const bool extensible = spec.tag == 0xFFFE;
    const uint16_t blockAlign = uint16_t(spec.channels * ((spec.bits + 7) / 8));
    PutId(w, "fmt ");
    Put32(w, extensible ? 40 : 16);
    Put16(w, spec.tag);
    Put16(w, spec.channels);
    Put32(w, spec.rate);
    Put32(w, spec.rate * blockAlign);
    Put16(w, blockAlign);
    Put16(w, spec.bits);
    if (extensible) {
        Put16(w, 22);
        Put16(w, spec.bits);
        Put32(w, 0);
        Put16(w, spec.subTag);
        static const uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        for (uint8_t b : kGuidTail) w.push_back(b);
    }
    PutId(w, "data");
    Put32(w, uint32_t(samples.size()));
    w.insert(w.end(), samples.begin(), samples.end());
    const uint32_t riff = uint32_t(w.size() - 8);
    for (int i = 0; i < 4; ++i) w[4 + i] = uint8_t(riff >> (8 * i));
    return w;
}

}  // namespace kestrova
