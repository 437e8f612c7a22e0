#pragma once
// Conversions between the program's wide text (wchar_t, UTF-32 here), UTF-8 and UTF-16LE.
// Every bounded conversion cuts at a character boundary: a character that does not fit whole is left out.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

// UTF-8 of `text`. Characters that are not valid code points become U+FFFD.
std::string ToUtf8(std::wstring_view text);
// Wide text of UTF-8 `bytes`; invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view bytes);

// Writes at most `maxBytes` bytes of UTF-8 of `text` into `out` and a terminating NUL after them, so `out`
// needs maxBytes + 1 bytes. Returns the number of bytes written before the NUL.
size_t ToUtf8Bounded(std::wstring_view text, char* out, size_t maxBytes);

// Reads a NUL-terminated narrow field of `width` bytes; a field without a NUL is read up to width - 1 bytes.
std::string ReadFixedField(const char* field, size_t width);
// Wide text of a NUL-terminated UTF-8 field of `width` bytes, read as ReadFixedField does.
std::wstring FromUtf8Field(const char* field, size_t width);

// Writes `text` as UTF-16LE into `out`, at most `maxUnits` units (surrogate pairs are never split), and
// zero-fills the rest of `out` up to `widthUnits` units. Returns the units of text written.
size_t ToUtf16LeField(std::wstring_view text, uint8_t* out, size_t maxUnits, size_t widthUnits);
// Wide text of a UTF-16LE field of `widthUnits` units, up to its first NUL unit or widthUnits - 1 units.
std::wstring FromUtf16LeField(const uint8_t* field, size_t widthUnits);

// Copies at most `count` characters of `text` and a terminator into `buffer` (which holds count + 1).
// Returns the number of characters copied.
size_t CopyWide(std::wstring_view text, wchar_t* buffer, size_t count);

}  // namespace kestrova
