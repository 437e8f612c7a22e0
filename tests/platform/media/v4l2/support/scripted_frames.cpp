#include "scripted_frames.h"

#include <turbojpeg.h>

#include <cstdlib>

namespace kestrova::mediatest {
namespace {

bool Near(const uint8_t* pixel, int b, int g, int r, int tolerance) {
    return std::abs(pixel[0] - b) <= tolerance && std::abs(pixel[1] - g) <= tolerance &&
           std::abs(pixel[2] - r) <= tolerance;
}

}  // namespace

std::vector<uint8_t> YuyvRedOverBlue(int width, int height) {
    std::vector<uint8_t> frame;
    frame.reserve(size_t(width) * size_t(height) * 2);
    for (int y = 0; y < height; ++y) {
        const bool top = y < height / 2;
        const uint8_t luma = top ? 81 : 41, u = top ? 90 : 240, v = top ? 240 : 110;
        for (int x = 0; x < width; x += 2) frame.insert(frame.end(), {luma, u, luma, v});
    }
    return frame;
}

std::vector<uint8_t> JpegRedOverBlue(int width, int height) {
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
        const bool top = y < height / 2;
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {uint8_t(top ? 255 : 0), 0, uint8_t(top ? 0 : 255)});
    }
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_422, 90, 0);
    std::vector<uint8_t> bytes(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(handle);
    return bytes;
}

bool IsRed(const uint8_t* pixel, int tolerance) {
    return Near(pixel, 0, 0, 255, tolerance);
}

bool IsBlue(const uint8_t* pixel, int tolerance) {
    return Near(pixel, 255, 0, 0, tolerance);
}

}  // namespace kestrova::mediatest
