#include "tools/respack/picture_size.h"

#include <gtest/gtest.h>

#include <string>

namespace respack {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += char(v);
    return bytes;
}

std::string Png(int width, int height) {
    return Bytes({0x89, 'P', 'N',         'G',           '\r', '\n', 0x1a, '\n', 0,          0,
                  0,    13,  'I',         'H',           'D',  'R',  0,    0,    width >> 8, width & 0xFF,
                  0,    0,   height >> 8, height & 0xFF, 8,    2,    0,    0,    0});
}

std::string Bmp(int width, int height) {
    std::string bytes = Bytes({'B', 'M'}) + std::string(12, '\0') + Bytes({40, 0, 0, 0});
    for (int value : {width, height})
        for (int shift = 0; shift < 32; shift += 8) bytes += char((unsigned(value) >> shift) & 0xFF);
    return bytes + Bytes({1, 0, 24, 0});
}

// SOI, an APP0 segment of 16 bytes, then a start of frame with the given marker.
std::string Jpeg(int frameMarker, int width, int height) {
    return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + std::string(14, 'j') +
           Bytes({0xFF, 0xFF, 0xFF, frameMarker, 0, 17, 8, height >> 8, height & 0xFF, width >> 8,
                  width & 0xFF, 3});
}

TEST(PictureSize, ReadsTheHeaderOfEachFormat) {
    const struct {
        const char* name;
        std::string bytes;
        PictureSize size;
    } cases[] = {
        {"png", Png(592, 48), {592, 48}},
        {"bottom-up bmp", Bmp(86, 128), {86, 128}},
        {"top-down bmp", Bmp(37, -148), {37, 148}},
        {"baseline jpeg after a fill byte", Jpeg(0xC0, 640, 480), {640, 480}},
        {"progressive jpeg", Jpeg(0xC2, 300, 0x1A4), {300, 0x1A4}},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadPictureSize(c.bytes), c.size) << c.name;
}

TEST(PictureSize, RefusesBytesThatAreNoPictureOrEndBeforeTheSize) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "bitmap 5463 37x148"},
        {"png cut in its header", Png(5, 5).substr(0, 20)},
        {"png without IHDR first", Png(5, 5).replace(12, 4, "tEXt")},
        {"bmp cut in its header", Bmp(5, 5).substr(0, 20)},
        {"bmp with an old core header", Bmp(5, 5).replace(14, 1, 1, char(12))},
        {"jpeg cut before its frame", Jpeg(0xC0, 5, 5).substr(0, 24)},
        {"jpeg with a Huffman table only", Jpeg(0xC4, 5, 5)},
        {"jpeg with a broken segment", Bytes({0xFF, 0xD8, 0x12, 0x34, 0, 8})},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadPictureSize(c.bytes), std::nullopt) << c.name;
}

}  // namespace
}  // namespace respack
