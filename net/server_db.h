#pragma once
// "Server.db": the web site's logo and two sounds, three files back to back with no header, read only, in the
// program's data folder. A file of any other size is not used at all.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrova {

inline constexpr size_t kServerDbSize = 7091;

struct ServerDbAsset {
    std::string_view path;  // the request path it is served under
    size_t offset;
    size_t length;
    std::string_view contentType;
};

inline constexpr ServerDbAsset kServerDbAssets[] = {
    {"/logo.png", 0, 579, "image/png"},
    {"/beep.mp3", 579, 2052, "audio/mpeg"},
    {"/beep.wav", 2631, 4460, "audio/wav"},
};

// Reads a whole file into `out` and returns its size; 0 (and `out` untouched) when it cannot be read or is
// empty. The name "Server.db" is looked up in the program's data folder, any other name in `folder`.
// Plain reads, never a mapping: a frame file is replaced by its writer while it is read, and a mapping of a
// file that shrinks under it would fault.
int32_t LoadWholeFile(std::wstring_view name, std::vector<uint8_t>* out, std::wstring_view folder);

// The contents of "Server.db", or nothing when it is missing or of another size.
std::vector<uint8_t> LoadServerDb();

}  // namespace kestrova
