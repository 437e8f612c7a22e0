#include "engine/base64.h"

#include <cstring>

namespace kestrova {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kPad = 64;

int ValueOf(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == '=') return kPad;
    return 0;
}

}  // namespace

int Base64Encode(const char* text, char* out) {
    if (text == nullptr) return -1;
    const size_t n = std::strlen(text);
    if (out == nullptr) return int((n + 2) / 3 * 4 + 1);
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    size_t o = 0;
    for (size_t i = 0; i < n; i += 3) {
        const size_t left = n - i;
        const unsigned b0 = in[i];
        const unsigned b1 = left > 1 ? in[i + 1] : 0;
        const unsigned b2 = left > 2 ? in[i + 2] : 0;
        out[o++] = kAlphabet[b0 >> 2];
        out[o++] = kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
        out[o++] = left > 1 ? kAlphabet[((b1 & 0x0F) << 2) | (b2 >> 6)] : '=';
        out[o++] = left > 2 ? kAlphabet[b2 & 0x3F] : '=';
    }
    out[o] = '\0';
    return 0;
}

int Base64Decode(const char* text, char* out) {
    if (text == nullptr) return -1;
    const size_t n = std::strlen(text);
    if (n % 4 != 0) return -1;
    if (out == nullptr) {
        size_t pad = 0;
        if (n >= 1 && text[n - 1] == '=') ++pad;
        if (n >= 2 && text[n - 2] == '=') ++pad;
        return int((n - pad) * 3 / 4 + 1);
    }
    size_t o = 0;
    for (size_t i = 0; i < n; i += 4) {
        const int a = ValueOf(text[i]);
        const int b = ValueOf(text[i + 1]);
        const int c = ValueOf(text[i + 2]);
        const int d = ValueOf(text[i + 3]);
        out[o++] = char((a << 2) | (b >> 4));
        if (c == kPad) break;
        out[o++] = char(((b << 4) | (c >> 2)) & 0xFF);
        if (d == kPad) break;
        out[o++] = char(((c << 6) | d) & 0xFF);
    }
    out[o] = '\0';
    return 0;
}

}  // namespace kestrova
