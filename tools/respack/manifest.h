#pragma once
// The resource manifest: one resource a line, "kind id file", the file relative to one of the packer's
// folders. A bitmap also states the size its users copy it at: "bitmap id WIDTHxHEIGHT file"; the packer
// refuses a picture of any other size, since a skin of the wrong size paints garbage or nothing at all. Blank
// lines and lines starting with "#" are skipped.

#include <string>
#include <string_view>
#include <vector>

namespace respack {

struct ManifestEntry {
    std::string kind;  // "bitmap", "icon", "data" or "menu"
    int id = 0;
    int width = 0;  // bitmaps only: the size the picture must have
    int height = 0;
    std::string file;
    int line = 0;
};

// Parses the whole manifest. Every line that is malformed, names an unknown kind, an id outside 1..65535, a
// bitmap without a size of 1..65535 by 1..65535, or repeats a kind and id already listed adds one message
// "line N: ..." to `errors` and no entry.
std::vector<ManifestEntry> ParseManifest(std::string_view text, std::vector<std::string>& errors);

// The C++ enumerator of a kind ("Bitmap" for "bitmap"); empty for an unknown kind.
std::string_view KindEnumerator(std::string_view kind);
// Sorts into the order of the lookup table: by kind as ResourceKind orders them, then by id.
void SortForLookup(std::vector<ManifestEntry>& entries);

}  // namespace respack
