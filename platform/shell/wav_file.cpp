#include "platform/shell/wav_file.h"

#include <cstring>

namespace kestrova {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool FormatFrom(uint16_t tag, uint16_t bits, SampleFormat& format) {
    if (tag == kFormatPcm) {
        switch (bits) {
            case 8:
                format = SampleFormat::kUnsigned8;
                return true;
            case 16:
                format = SampleFormat::kSigned16;
                return true;
            case 24:
                format = SampleFormat::kSigned24;
                return true;
            case 32:
                format = SampleFormat::kSigned32;
                return true;
        }
        return false;
    }
    if (tag == kFormatFloat && bits == 32) {
        format = SampleFormat::kFloat32;
        return true;
    }
    return false;
}

}  // namespace

bool ParseWav(const std::vector<uint8_t>& file, WavSound& out) {
    const uint8_t* data = file.data();
    const size_t size = file.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;

    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint8_t* chunk = data + pos;
        const size_t body = pos + 8;
        const size_t length = std::min<size_t>(Le32(chunk + 4), size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length < 16) return false;
            const uint8_t* f = data + body;
            uint16_t tag = Le16(f);
            const uint16_t channels = Le16(f + 2);
            const uint16_t blockAlign = Le16(f + 12);
            const uint16_t bits = Le16(f + 14);
            // The extensible form carries the real format tag in the first two bytes of its sub-format GUID.
            if (tag == kFormatExtensible) {
                if (length < 40) return false;
                tag = Le16(f + 24);
            }
            if (channels == 0 || blockAlign != channels * ((bits + 7) / 8)) return false;
            if (!FormatFrom(tag, bits, out.format)) return false;
            out.channels = channels;
            out.rate = Le32(f + 4);
            out.bytesPerFrame = blockAlign;
            if (out.rate == 0) return false;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return false;
            const size_t whole = length - length % out.bytesPerFrame;
            if (whole == 0) return false;
            out.samples.assign(data + body, data + body + whole);
            return true;
        }
        pos = body + length + (length & 1);  // chunks are padded to an even length
    }
    return false;
}

}  // namespace kestrova
