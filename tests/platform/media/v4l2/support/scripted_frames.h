#pragma once
// Frames for a scripted camera to deliver: a picture whose top half is red and bottom half blue, as the
// camera's own YUYV (top-down, BT.601 studio range) or as a JPEG.

#include <cstdint>
#include <vector>

namespace kestrova::mediatest {

std::vector<uint8_t> YuyvRedOverBlue(int width, int height);
std::vector<uint8_t> JpegRedOverBlue(int width, int height);

// Whether the blue, green, red bytes at `pixel` are within `tolerance` of pure red or pure blue.
bool IsRed(const uint8_t* pixel, int tolerance);
bool IsBlue(const uint8_t* pixel, int tolerance);

}  // namespace kestrova::mediatest
