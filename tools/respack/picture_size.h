#pragma once
// The width and height a picture file declares in its header, for the packer's size check. Reads the formats
// the imaging layer decodes: PNG, BMP and JPEG.

#include <optional>
#include <string_view>

namespace respack {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size in the header of a PNG, BMP (a bottom-up or top-down one) or baseline or progressive JPEG; none
// when the bytes are none of these or end before the size.
std::optional<PictureSize> ReadPictureSize(std::string_view bytes);

}  // namespace respack
