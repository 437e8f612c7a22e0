#pragma once
// The mail code's own Base64 (standard alphabet, "=" padding, one line): authentication exchanges, encoded
// attachment names and attachment contents.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The encoding of `count` bytes on one line, padded to a multiple of four characters.
std::string MailBase64Encode(const void* bytes, size_t count);
inline std::string MailBase64Encode(std::string_view text) {
    return MailBase64Encode(text.data(), text.size());
}

// Decodes groups of four characters up to the first "=" or the first character outside the alphabet, so a
// trailing line end or blank ends it; a final partial group of two or three characters gives one or two
// bytes.
std::vector<uint8_t> MailBase64Decode(std::string_view text);

}  // namespace kestrova
