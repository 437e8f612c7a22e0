#pragma once
// Test pictures for the camera tests, encoded with TurboJPEG.

#include <cstdint>
#include <functional>
#include <string>

namespace kestrova::testing {

struct Rgb {
    uint8_t r, g, b;
};

// A baseline JPEG (quality 95, no chroma subsampling) of `width` x `height` pixels coloured by `pixel`(x, y)
// with y = 0 at the top.
std::string MakeTestJpeg(int width, int height, const std::function<Rgb(int x, int y)>& pixel);

}  // namespace kestrova::testing
