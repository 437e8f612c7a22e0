#include <gtest/gtest.h>

#include <cstring>

#include "platform/imaging/bitmap.h"
#include "tests/platform/imaging/pictures.h"

namespace kestrova::imaging {
namespace {

struct Encoded {
    const char* format;
    std::vector<uint8_t> bytes;
};

std::vector<Encoded> OnePictureInEveryFormat(int width, int height) {
    const Frame frame = TwoToneFrame(width, height);
    auto bitmap = Bitmap::ViewFrame(frame.header, frame.pixels.data());
    std::vector<Encoded> all = {{"jpeg", {}}, {"png", {}}, {"bmp", BmpFile(frame)}};
    int id = 0;
    EXPECT_TRUE(FindEncoder("image/jpeg", &id));
    EXPECT_EQ(Encode(*bitmap, id, 80, all[0].bytes), Status::Ok);
    EXPECT_TRUE(FindEncoder("image/png", &id));
    EXPECT_EQ(Encode(*bitmap, id, 0, all[1].bytes), Status::Ok);
    return all;
}

TEST(DecodeInto, WritesTheSameRowsAsDecodeInEitherRowOrder) {
    constexpr int kWidth = 21, kHeight = 14, kStride = kWidth * 3;
    for (const Encoded& picture : OnePictureInEveryFormat(kWidth, kHeight)) {
        auto expected = Bitmap::Decode(picture.bytes.data(), picture.bytes.size());
        ASSERT_TRUE(expected) << picture.format;

        int width = 0, height = 0;
        ASSERT_TRUE(ReadImageSize(picture.bytes.data(), picture.bytes.size(), &width, &height))
            << picture.format;
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);

        std::vector<uint8_t> topDown(kStride * kHeight), bottomUp(kStride * kHeight);
        ASSERT_EQ(
            DecodeInto(picture.bytes.data(), picture.bytes.size(), kWidth, kHeight, topDown.data(), kStride),
            Status::Ok)
            << picture.format;
        ASSERT_EQ(DecodeInto(picture.bytes.data(), picture.bytes.size(), kWidth, kHeight,
                             bottomUp.data() + (kHeight - 1) * kStride, -kStride),
                  Status::Ok)
            << picture.format;
        for (int y = 0; y < kHeight; ++y) {
            EXPECT_EQ(std::memcmp(topDown.data() + y * kStride, expected->Row(y), kStride), 0)
                << picture.format;
            EXPECT_EQ(std::memcmp(bottomUp.data() + (kHeight - 1 - y) * kStride, expected->Row(y), kStride),
                      0)
                << picture.format;
        }
    }
}

TEST(DecodeInto, LeavesTheBufferAloneForAnotherSizeAndReportsDamage) {
    constexpr int kStride = 8 * 3;
    for (Encoded& picture : OnePictureInEveryFormat(8, 6)) {
        std::vector<uint8_t> buffer(kStride * 7, 0xEE);
        const uint8_t* bytes = picture.bytes.data();
        const size_t size = picture.bytes.size();
        EXPECT_EQ(DecodeInto(bytes, size, 8, 7, buffer.data(), kStride), Status::InvalidParameter)
            << picture.format;
        EXPECT_EQ(DecodeInto(bytes, size, 7, 6, buffer.data(), kStride), Status::InvalidParameter)
            << picture.format;
        EXPECT_EQ(DecodeInto(bytes, size, 8, 6, buffer.data(), kStride - 1), Status::InvalidParameter)
            << picture.format;
        EXPECT_EQ(DecodeInto(bytes, size, 8, 6, nullptr, kStride), Status::InvalidParameter)
            << picture.format;
        EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xEE), long(buffer.size())) << picture.format;

        EXPECT_EQ(DecodeInto(bytes, 10, 8, 6, buffer.data(), kStride), Status::UnknownImageFormat)
            << picture.format;
        EXPECT_FALSE(ReadImageSize(bytes, 10, nullptr, nullptr)) << picture.format;
    }
    const uint8_t noise[64] = {1, 2, 3};
    EXPECT_FALSE(ReadImageSize(noise, sizeof noise, nullptr, nullptr));
}

}  // namespace
}  // namespace kestrova::imaging
