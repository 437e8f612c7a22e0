#pragma once
// The size of each picture a camera sends, for the reader thread. A camera codes every picture with the same
// header (its tables, its size, its scan), so the header is read once: while the bytes up to the end of the
// scan header stay the same, so does what reading them gives, and the next picture's size is known by
// comparing those bytes alone.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova {

class PictureSizeMemo {
public:
    // What imaging::ReadImageSize gives for the picture: its width and height, or false when its header
    // cannot be read.
    bool Read(const uint8_t* picture, size_t size, int* width, int* height);

private:
    std::vector<uint8_t> header_;  // the last JPEG's bytes up to the end of its scan header; empty: none
    bool readable_ = false;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kestrova
