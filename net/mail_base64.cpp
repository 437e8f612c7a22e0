#include "net/mail_base64.h"

namespace kestrova {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The value of one alphabet character, or -1 for any other character.
int SextetOf(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string MailBase64Encode(const void* bytes, size_t count) {
    const auto* in = static_cast<const uint8_t*>(bytes);
    std::string out;
    out.reserve((count + 2) / 3 * 4);
    for (size_t i = 0; i < count; i += 3) {
        uint32_t group = uint32_t(in[i]) << 16;
        if (i + 1 < count) group |= uint32_t(in[i + 1]) << 8;
        if (i + 2 < count) group |= in[i + 2];
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += i + 1 < count ? kAlphabet[(group >> 6) & 63] : '=';
        out += i + 2 < count ? kAlphabet[group & 63] : '=';
    }
    return out;
}

std::vector<uint8_t> MailBase64Decode(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3 + 2);
    uint32_t group = 0;
    int filled = 0;
    for (char c : text) {
        int sextet = SextetOf(c);
        if (sextet < 0) break;
        group = (group << 6) | uint32_t(sextet);
        if (++filled == 4) {
            out.push_back(uint8_t(group >> 16));
            out.push_back(uint8_t(group >> 8));
            out.push_back(uint8_t(group));
            group = 0;
            filled = 0;
        }
    }
    if (filled == 2) {
        out.push_back(uint8_t(group >> 4));
    } else if (filled == 3) {
        out.push_back(uint8_t(group >> 10));
        out.push_back(uint8_t(group >> 2));
    }
    return out;
}

}  // namespace kestrova
