#include "platform/base/text.h"

#include <cstring>

namespace kestrova {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) { return c < 0x110000 && (c < 0xD800 || c > 0xDFFF); }

// Appends the UTF-8 of one code point to `out` when it fits in `room` bytes; returns the bytes used (0 when
// it does not fit).
size_t EncodeUtf8(char32_t c, char* out, size_t room) {
    if (!IsScalar(c)) c = kReplacement;
    size_t n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (n > room) return 0;
    if (n == 1) {
        out[0] = char(c);
    } else {
        static const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        for (size_t i = n - 1; i > 0; --i) {
            out[i] = char(0x80 | (c & 0x3F));
            c >>= 6;
        }
        out[0] = char(lead[n] | c);
    }
    return n;
}

// Decodes one code point from `s` at `i`, advancing `i`; malformed input gives U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    unsigned char b = s[i];
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
        ++i;
        return kReplacement;
    }
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        unsigned char t = s[i + k];
        if ((t & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (t & 0x3F);
    }
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || !IsScalar(c)) {
        ++i;
        return kReplacement;
    }
    i += n;
    return c;
}

}  // namespace

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    char buf[4];
    for (wchar_t w : text) out.append(buf, EncodeUtf8(char32_t(w), buf, 4));
    return out;
}

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) out.push_back(wchar_t(DecodeUtf8(bytes, i)));
    return out;
}

size_t ToUtf8Bounded(std::wstring_view text, char* out, size_t maxBytes) {
    size_t used = 0;
    for (wchar_t w : text) {
        size_t n = EncodeUtf8(char32_t(w), out + used, maxBytes - used);
        if (n == 0) break;
        used += n;
    }
    out[used] = '\0';
    return used;
}

std::string ReadFixedField(const char* field, size_t width) {
    if (width == 0) return {};
    size_t n = 0;
    while (n + 1 < width && field[n] != '\0') ++n;
    return std::string(field, n);
}

std::wstring FromUtf8Field(const char* field, size_t width) { return FromUtf8(ReadFixedField(field, width)); }

size_t ToUtf16LeField(std::wstring_view text, uint8_t* out, size_t maxUnits, size_t widthUnits) {
    size_t units = 0;
    auto put = [&](uint16_t u) {
        out[units * 2] = uint8_t(u & 0xFF);
        out[units * 2 + 1] = uint8_t(u >> 8);
        ++units;
    };
    for (wchar_t w : text) {
        char32_t c = IsScalar(char32_t(w)) ? char32_t(w) : kReplacement;
        size_t need = c >= 0x10000 ? 2 : 1;
        if (units + need > maxUnits) break;
        if (need == 2) {
            c -= 0x10000;
            put(uint16_t(0xD800 | (c >> 10)));
            put(uint16_t(0xDC00 | (c & 0x3FF)));
        } else {
            put(uint16_t(c));
        }
    }
    size_t written = units;
    if (widthUnits > units) std::memset(out + units * 2, 0, (widthUnits - units) * 2);
    return written;
}

std::wstring FromUtf16LeField(const uint8_t* field, size_t widthUnits) {
    std::wstring out;
    if (widthUnits == 0) return out;
    auto unit = [&](size_t i) { return uint16_t(field[i * 2] | (field[i * 2 + 1] << 8)); };
    for (size_t i = 0; i + 1 < widthUnits; ++i) {
        uint16_t u = unit(i);
        if (u == 0) break;
        if (u >= 0xD800 && u <= 0xDBFF && i + 2 < widthUnits) {
            uint16_t lo = unit(i + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                out.push_back(wchar_t(0x10000 + ((char32_t(u) - 0xD800) << 10) + (lo - 0xDC00)));
                ++i;
                continue;
            }
        }
        out.push_back(u >= 0xD800 && u <= 0xDFFF ? wchar_t(kReplacement) : wchar_t(u));
    }
    return out;
}

size_t CopyWide(std::wstring_view text, wchar_t* buffer, size_t count) {
    size_t n = text.size() < count ? text.size() : count;
    std::wmemcpy(buffer, text.data(), n);
    buffer[n] = L'\0';
    return n;
}

}  // namespace kestrova
