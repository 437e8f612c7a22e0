#pragma once
// Fields of a RIFF file (AVI, WAV) as it stores them: little-endian numbers and four-character codes,
// appended to a byte buffer that is then written in one piece.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova::media {

class RiffBytes {
public:
    RiffBytes& U8(uint8_t v) {
        bytes_.push_back(v);
        return *this;
    }
    RiffBytes& U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
    RiffBytes& U32(uint32_t v) { return U16(uint16_t(v)).U16(uint16_t(v >> 16)); }
    RiffBytes& U64(uint64_t v) { return U32(uint32_t(v)).U32(uint32_t(v >> 32)); }
    // A four-character code such as "RIFF" or "00dc".
    RiffBytes& Code(const char* code) {
        for (int i = 0; i < 4; ++i) U8(uint8_t(code[i]));
        return *this;
    }
    RiffBytes& Zeros(size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }

    // Overwrites the number at `at`, for a size known only once what it counts has been added.
    void SetU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + size_t(i)] = uint8_t(v >> (8 * i));
    }

    std::vector<uint8_t>& Bytes() { return bytes_; }
    size_t Size() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kestrova::media
