#pragma once
// Test pictures for the camera tests, encoded with TurboJPEG.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrova::testing {

struct Rgb {
    uint8_t r, g, b;
};

// A baseline JPEG (quality 95, no chroma subsampling) of `width` x `height` pixels coloured by `pixel`(x, y)
// with y = 0 at the top.
std::string MakeTestJpeg(int width, int height, const std::function<Rgb(int x, int y)>& pixel);

struct DamagedJpeg {
    const char* name;
    std::string bytes;
};

// Pictures damaged the ways cameras and networks damage them, each made from `jpeg` (as MakeTestJpeg makes
// it): cut off, with an unknown marker or garbage after the start-of-image marker, with a bad Huffman table,
// with a frame header of no size, of a size beyond any JPEG or of one too large to hold, and empty. None of
// them gives a picture.
std::vector<DamagedJpeg> DamagedJpegs(const std::string& jpeg);

}  // namespace kestrova::testing
