// The reader's picture sizes must be exactly what reading each header gives, whatever came before.
#include "engine/ipcam/picture_size_memo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "tests/peers/fakecam/test_jpeg.h"

namespace kestrova {
namespace {

using testing::MakeTestJpeg;
using testing::Rgb;

struct Picture {
    std::string name;
    std::string bytes;
};

std::string Flat(int width, int height, uint8_t level) {
    return MakeTestJpeg(width, height, [&](int, int) { return Rgb{level, level, level}; });
}

// The same picture with the frame header's height set to `height`: a header of the same length that differs
// in one field.
std::string WithHeight(std::string jpeg, int height) {
    const size_t frame = jpeg.find("\xFF\xC0");
    jpeg[frame + 5] = char(height >> 8);
    jpeg[frame + 6] = char(height & 0xFF);
    return jpeg;
}

TEST(PictureSizeMemo, GivesWhatReadingEachHeaderGivesWhateverCameBefore) {
    const std::string vga = Flat(640, 480, 40);
    std::vector<Picture> pictures = {
        {"640 x 480", vga},
        {"640 x 480, other pixels", Flat(640, 480, 200)},
        {"320 x 240", Flat(320, 240, 90)},
        {"640 x 240 in the same header", WithHeight(vga, 240)},
        {"no picture at all", "not a picture"},
    };
    for (testing::DamagedJpeg& damaged : testing::DamagedJpegs(vga)) {
        pictures.push_back({damaged.name, std::move(damaged.bytes)});
    }
    // Each picture after each other one, so that every one meets every header the memo may hold.
    PictureSizeMemo memo;
    for (const Picture& before : pictures) {
        for (const Picture& picture : pictures) {
            for (const Picture* p : {&before, &picture}) {
                const auto* bytes = reinterpret_cast<const uint8_t*>(p->bytes.data());
                int expectedWidth = 0, expectedHeight = 0, width = 0, height = 0;
                const bool expected = imaging::ReadImageSize(bytes, p->bytes.size(), &expectedWidth, &expectedHeight);
                ASSERT_EQ(memo.Read(bytes, p->bytes.size(), &width, &height), expected)
                    << p->name << " after " << before.name;
                if (expected) {
                    EXPECT_EQ(width, expectedWidth) << p->name << " after " << before.name;
                    EXPECT_EQ(height, expectedHeight) << p->name << " after " << before.name;
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrova
