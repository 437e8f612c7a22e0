#pragma once
// Base64 with the standard alphabet and "=" padding, on NUL-terminated byte strings. The caller owns both
// buffers: call once with a null `out` for the size it needs, terminator included.

namespace kestrova {

// -1 for a null text; with a null `out` the size 4 x ceil(n / 3) + 1; otherwise writes the encoding and a
// NUL and returns 0.
int Base64Encode(const char* text, char* out);
// -1 for a null text or a length that is not a multiple of 4; with a null `out` the size (n - p) x 3 / 4 + 1,
// p being the "=" among the last two characters; otherwise decodes up to the first group with padding, writes
// a NUL after the last byte and returns 0. A character outside the alphabet counts as 0.
int Base64Decode(const char* text, char* out);

}  // namespace kestrova
