#include "platform/imaging/bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/imaging/pictures.h"

namespace kestrova::imaging {
namespace {

TEST(Bitmap, FromFrameKeepsAnUprightPictureForEitherRowOrder) {
    Frame frame = TwoToneFrame(10, 6);
    auto bottomUp = Bitmap::FromFrame(frame.header, frame.pixels.data());
    ASSERT_TRUE(bottomUp);
    EXPECT_TRUE(Near(PixelAt(*bottomUp, 0, 0), kTopColour, 0));
    EXPECT_TRUE(Near(PixelAt(*bottomUp, 9, 5), kBottomColour, 0));

    // A view reads the same rows where they lie.
    auto view = Bitmap::ViewFrame(frame.header, frame.pixels.data());
    ASSERT_TRUE(view);
    EXPECT_EQ(view->FirstStoredRow(), frame.pixels.data());
    EXPECT_TRUE(SamePixels(*view, *bottomUp));

    // The same rows read as top-down show the picture the other way up.
    frame.header.biHeight = -6;
    auto topDown = Bitmap::FromFrame(frame.header, frame.pixels.data());
    ASSERT_TRUE(topDown);
    EXPECT_TRUE(Near(PixelAt(*topDown, 0, 0), kBottomColour, 0));
}

TEST(Bitmap, FromFrameRefusesHeadersItCannotRead) {
    const Frame frame = TwoToneFrame(8, 8);
    const struct {
        const char* name;
        void (*change)(BitmapInfoHeader&);
    } cases[] = {
        {"32 bits", [](BitmapInfoHeader& h) { h.biBitCount = 32; }},
        {"compressed", [](BitmapInfoHeader& h) { h.biCompression = 1; }},
        {"no width", [](BitmapInfoHeader& h) { h.biWidth = 0; }},
        {"negative width", [](BitmapInfoHeader& h) { h.biWidth = -8; }},
        {"no height", [](BitmapInfoHeader& h) { h.biHeight = 0; }},
        {"too wide", [](BitmapInfoHeader& h) { h.biWidth = Bitmap::kMaxSide + 1; }},
        {"too many pixels", [](BitmapInfoHeader& h) { h.biWidth = h.biHeight = Bitmap::kMaxSide; }},
    };
    for (const auto& c : cases) {
        BitmapInfoHeader header = frame.header;
        c.change(header);
        EXPECT_FALSE(Bitmap::FromFrame(header, frame.pixels.data())) << c.name;
        EXPECT_FALSE(Bitmap::ViewFrame(header, frame.pixels.data())) << c.name;
    }
    EXPECT_FALSE(Bitmap::FromFrame(frame.header, nullptr));
    EXPECT_FALSE(Bitmap::ViewFrame(frame.header, nullptr));
}

TEST(Bitmap, CloneCopiesAreasInsideAndRefusesAnyOther) {
    const Bitmap picture = RandomPicture(50, 40, 11);
    auto corner = picture.Clone({0, 0, 50, 40});
    ASSERT_TRUE(corner);
    EXPECT_TRUE(SamePixels(*corner, picture));

    auto inner = picture.Clone({7, 5, 13, 9});
    ASSERT_TRUE(inner);
    ASSERT_EQ(inner->Width(), 13);
    ASSERT_EQ(inner->Height(), 9);
    EXPECT_EQ(std::memcmp(inner->Row(8), picture.Row(13) + 7 * 3, 13 * 3), 0);

    const Rect outside[] = {{0, 0, 51, 40}, {0, 0, 50, 41}, {-1, 0, 10, 10}, {0, -1, 10, 10},
                            {45, 0, 6, 10}, {0, 35, 10, 6}, {0, 0, 0, 10},   {0, 0, 10, 0}};
    for (const Rect& area : outside) {
        EXPECT_FALSE(picture.Clone(area))
            << area.x << "," << area.y << " " << area.width << "x" << area.height;
    }
}

TEST(Bitmap, LockBitsIntoWritesRowsAtTheCallersStride) {
    const Bitmap picture = RandomPicture(86, 128, 13);
    const int stride = 86 * 3;  // rows packed with no padding
    std::vector<uint8_t> buffer(size_t(stride) * 128 + 1, 0xEE);
    ASSERT_EQ(picture.LockBitsInto({0, 0, 86, 128}, buffer.data(), stride), Status::Ok);
    for (int y : {0, 64, 127}) {
        EXPECT_EQ(std::memcmp(buffer.data() + y * stride, picture.Row(y), stride), 0) << y;
    }
    EXPECT_EQ(buffer.back(), 0xEE);

    // A negative stride lays the rows out bottom-up, as frames are stored.
    std::vector<uint8_t> bottomUp(size_t(stride) * 10);
    ASSERT_EQ(picture.LockBitsInto({4, 2, 86 - 4, 10}, bottomUp.data() + 9 * stride, -stride), Status::Ok);
    EXPECT_EQ(std::memcmp(bottomUp.data(), picture.Row(11) + 12, (86 - 4) * 3), 0);

    EXPECT_EQ(picture.LockBitsInto({0, 0, 86, 128}, buffer.data(), stride - 1), Status::InvalidParameter);
    EXPECT_EQ(picture.LockBitsInto({0, 0, 86, 129}, buffer.data(), stride), Status::InvalidParameter);
    EXPECT_EQ(picture.LockBitsInto({1, 0, 86, 128}, buffer.data(), stride), Status::InvalidParameter);
    EXPECT_EQ(picture.LockBitsInto({0, 0, 86, 128}, nullptr, stride), Status::InvalidParameter);
}

TEST(BmpCodec, DecodesTwentyFourBitFilesUpright) {
    const Frame frame = TwoToneFrame(5, 4);  // 15-byte rows padded to 16
    const std::vector<uint8_t> file = BmpFile(frame);
    auto decoded = Bitmap::Decode(file.data(), file.size());
    ASSERT_TRUE(decoded);
    auto expected = Bitmap::FromFrame(frame.header, frame.pixels.data());
    EXPECT_TRUE(SamePixels(*decoded, *expected));
    EXPECT_TRUE(Near(PixelAt(*decoded, 4, 0), kTopColour, 0));
}

TEST(BmpCodec, RefusesFilesItCannotReadWhole) {
    const std::vector<uint8_t> good = BmpFile(TwoToneFrame(5, 4));
    const struct {
        const char* name;
        size_t at;
        uint32_t value;
    } cases[] = {{"8 bits", 28, 8},
                 {"compressed", 30, 1},
                 {"pixels past the end", 10, 60},
                 {"pixels inside the header", 10, 40},
                 {"taller than the data", 22, 5},
                 {"huge info header", 14, 0xFFFFFFF0u}};
    for (const auto& c : cases) {
        std::vector<uint8_t> file = good;
        std::memcpy(&file[c.at], &c.value, c.at == 28 ? 2 : 4);
        EXPECT_FALSE(Bitmap::Decode(file.data(), file.size())) << c.name;
    }
    EXPECT_FALSE(Bitmap::Decode(good.data(), good.size() - 1)) << "one byte short";
}

}  // namespace
}  // namespace kestrova::imaging
