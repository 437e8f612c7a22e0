#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "tests/peers/fakecam/test_jpeg.h"
#include "tests/platform/imaging/pictures.h"

namespace kestrova::imaging {
namespace {

using testing::DamagedJpeg;
using testing::DamagedJpegs;

const uint8_t* Bytes(const std::string& text) {
    return reinterpret_cast<const uint8_t*>(text.data());
}

// Every way in to the decoder, each given a damaged picture: none may leave anything behind for the next.
struct EntryPoint {
    const char* name;
    void (*feed)(const std::string& damaged);
};

const EntryPoint kEntryPoints[] = {
    {"ReadImageSize",
     [](const std::string& damaged) {
         int width = 0, height = 0;
         ReadImageSize(Bytes(damaged), damaged.size(), &width, &height);
     }},
    {"DecodeInto",
     [](const std::string& damaged) {
         std::vector<uint8_t> rows(640 * 480 * 3);
         EXPECT_NE(DecodeInto(Bytes(damaged), damaged.size(), 640, 480, rows.data(), 640 * 3), Status::Ok);
     }},
    {"Decode",
     [](const std::string& damaged) { EXPECT_FALSE(Bitmap::Decode(Bytes(damaged), damaged.size())); }},
};

TEST(DamagedJpeg, LeavesTheNextPictureOnTheThreadWhole) {
    const std::string good = testing::MakeTestJpeg(64, 48, [](int x, int y) {
        return testing::Rgb{uint8_t(y < 24 ? 220 : 20), uint8_t(x * 3), 90};
    });
    const auto expected = Bitmap::Decode(Bytes(good), good.size());
    ASSERT_TRUE(expected);
    for (const DamagedJpeg& damaged : DamagedJpegs(good)) {
        for (const EntryPoint& entry : kEntryPoints) {
            SCOPED_TRACE(std::string(damaged.name) + " through " + entry.name);
            entry.feed(damaged.bytes);
            int width = 0, height = 0;
            EXPECT_TRUE(ReadImageSize(Bytes(good), good.size(), &width, &height));
            EXPECT_EQ(width, 64);
            EXPECT_EQ(height, 48);
            std::vector<uint8_t> rows(64 * 48 * 3);
            EXPECT_EQ(DecodeInto(Bytes(good), good.size(), 64, 48, rows.data(), 64 * 3), Status::Ok);
            const auto decoded = Bitmap::Decode(Bytes(good), good.size());
            ASSERT_TRUE(decoded);
            EXPECT_TRUE(SamePixels(*decoded, *expected));
        }
    }
}

}  // namespace
}  // namespace kestrova::imaging
