#pragma once
// MD5 message digest (RFC 1321), one object per digest: start, update any number of times, finalize, read.
// Misuse (updating or finalizing a finished digest, reading an unfinished one) changes nothing and is
// reported on the standard error stream.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrova {

class MD5 {
public:
    using Digest = std::array<uint8_t, 16>;

    MD5();

    void update(const void* input, size_t length);
    void finalize();

    // The 16 digest bytes; all zero, after the error message, while the digest is not finalized.
    Digest raw_digest() const;
    // 32 lower-case hexadecimal digits; empty, after the error message, while the digest is not finalized.
    std::string hex_digest() const;

private:
    void Transform(const uint8_t block[64]);

    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    uint8_t buffer_[64] = {};
    Digest digest_ = {};
    bool finalized_ = false;
};

// Lower-case hexadecimal of the digest bytes.
std::string HexOf(const MD5::Digest& digest);

}  // namespace kestrova
