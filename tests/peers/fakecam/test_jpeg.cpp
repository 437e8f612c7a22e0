#include "tests/peers/fakecam/test_jpeg.h"

#include <turbojpeg.h>

#include <stdexcept>
#include <vector>

namespace kestrova::testing {
namespace {

// The offset of the first segment with `marker` in a JPEG's header; throws when there is none.
size_t FindSegment(const std::string& jpeg, uint8_t marker) {
    for (size_t at = 2; at + 4 <= jpeg.size() && uint8_t(jpeg[at]) == 0xFF;) {
        if (uint8_t(jpeg[at + 1]) == marker) return at;
        at += 2 + (size_t(uint8_t(jpeg[at + 2])) << 8 | uint8_t(jpeg[at + 3]));
    }
    throw std::runtime_error("test picture has no such segment");
}

// `jpeg` with its frame header saying `width` x `height`.
std::string WithFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
    const size_t frame = FindSegment(jpeg, 0xC0);  // FF C0, length, precision, height, width
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height);
    jpeg[frame + 7] = char(width >> 8);
    jpeg[frame + 8] = char(width);
    return jpeg;
}

}  // namespace

std::string MakeTestJpeg(int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    tjhandle encoder = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(encoder, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_444, 95, 0);
    std::string out = result == 0 ? std::string(reinterpret_cast<char*>(jpeg), size) : std::string();
    tjFree(jpeg);
    tjDestroy(encoder);
    if (out.empty()) throw std::runtime_error("test picture could not be encoded");
    return out;
}

std::vector<DamagedJpeg> DamagedJpegs(const std::string& jpeg) {
    const std::string start = jpeg.substr(0, 2);
    std::string garbage = start;
    for (int i = 0; i < 300; ++i) garbage += char((i * 37 + 11) & 0xFF);
    std::string badHuffman = jpeg;
    // The first code lengths count far more codes than a table can hold.
    const size_t table = FindSegment(jpeg, 0xC4);
    badHuffman[table + 5] = badHuffman[table + 6] = char(0xFF);
    const std::string unknownMarker("\xFF\x4F\x00\x04\x00\x00", 6);
    return {{"cut off in its tables", jpeg.substr(0, table + 10)},
            {"an unknown marker after the start", start + unknownMarker + jpeg.substr(2)},
            {"garbage after the start", garbage},
            {"a bad Huffman table", badHuffman},
            {"a frame of no height", WithFrameSize(jpeg, 640, 0)},
            {"a frame of no width", WithFrameSize(jpeg, 0, 480)},
            {"a frame beyond any JPEG", WithFrameSize(jpeg, 65535, 65535)},
            {"a frame too large to hold", WithFrameSize(jpeg, 60000, 60000)},
            {"no bytes at all", ""}};
}

}  // namespace kestrova::testing
