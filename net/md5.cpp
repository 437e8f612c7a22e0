#include "net/md5.h"

#include <algorithm>
#include <cstring>
#include <iostream>

namespace kestrova {
namespace {

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr uint32_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t x, uint32_t n) {
    return (x << n) | (x >> (32 - n));
}

}  // namespace

MD5::MD5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476} {}

void MD5::update(const void* input, size_t length) {
    if (finalized_) {
        std::cerr << "MD5::update:  Can't update a finalized digest!" << std::endl;
        return;
    }
    if (length == 0) return;
    const auto* in = static_cast<const uint8_t*>(input);
    size_t used = size_t(bitCount_ / 8 % 64);
    bitCount_ += uint64_t(length) * 8;
    size_t i = 0;
    if (used > 0) {
        size_t take = std::min(length, 64 - used);
        std::memcpy(buffer_ + used, in, take);
        i = take;
        if (used + take < 64) return;
        Transform(buffer_);
    }
    for (; i + 64 <= length; i += 64) Transform(in + i);
    if (i < length) std::memcpy(buffer_, in + i, length - i);
}

void MD5::finalize() {
    if (finalized_) {
        std::cerr << "MD5::finalize:  Already finalized this digest!" << std::endl;
        return;
    }
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = uint8_t(bitCount_ >> (8 * i));
    size_t used = size_t(bitCount_ / 8 % 64);
    static const uint8_t kPadding[64] = {0x80};
    update(kPadding, used < 56 ? 56 - used : 120 - used);
    update(lengthBytes, 8);
    for (int i = 0; i < 16; ++i) digest_[i] = uint8_t(state_[i / 4] >> (8 * (i % 4)));
    std::memset(buffer_, 0, sizeof buffer_);
    finalized_ = true;
}

MD5::Digest MD5::raw_digest() const {
    if (!finalized_) {
        std::cerr << "MD5::raw_digest:  Can't get digest if you haven't finalized the digest!" << std::endl;
        return Digest{};
    }
    return digest_;
}

std::string MD5::hex_digest() const {
    if (!finalized_) {
        std::cerr << "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!" << std::endl;
        return std::string();
    }
    return HexOf(digest_);
}

void MD5::Transform(const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) {
        x[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    }
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int k;
        if (i < 16) {
            f = (b & c) | (~b & d);
            k = i;
        } else if (i < 32) {
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
        }
        uint32_t next = d;
        d = c;
        c = b;
        b = b + RotateLeft(a + f + kSine[i] + x[k], kShift[i]);
        a = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

std::string HexOf(const MD5::Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

}  // namespace kestrova
