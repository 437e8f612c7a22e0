#include "platform/base/resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {
namespace {

constexpr int kMicrophoneSymbol = 5652;
constexpr int kNoSuchBitmap = 5666;  // a gap among the program's bitmap ids

std::vector<uint8_t> SourceFile(const char* relative) {
    const char* root = std::getenv("KESTROVA_SOURCE_DIR");
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(root && ReadWholeFile(FromUtf8(std::string(root) + "/" + relative), bytes)) << relative;
    return bytes;
}

TEST(ProgramResources, FindsPackedBytesByKindAndId) {
    ResourceBytes found;
    ASSERT_TRUE(FindProgramResource(ResourceKind::Bitmap, kMicrophoneSymbol, &found));
    const std::vector<uint8_t> file = SourceFile("resources/bitmaps/microphone_symbol.bmp");
    ASSERT_EQ(found.size, file.size());
    EXPECT_EQ(std::memcmp(found.data, file.data(), file.size()), 0);

    EXPECT_FALSE(FindProgramResource(ResourceKind::Bitmap, kNoSuchBitmap, &found));
    EXPECT_FALSE(FindProgramResource(ResourceKind::Bitmap, 0, &found));
    EXPECT_FALSE(FindProgramResource(ResourceKind::Icon, kMicrophoneSymbol, &found));
}

TEST(ProgramResources, BitmapResourceLocksAsTwentyFourBitRows) {
    auto symbol = Bitmap::FromResource(kMicrophoneSymbol);
    ASSERT_TRUE(symbol);
    ASSERT_EQ(symbol->Width(), 86);
    ASSERT_EQ(symbol->Height(), 128);
    std::vector<uint8_t> buffer(86 * 3 * 128);
    ASSERT_EQ(symbol->LockBitsInto({0, 0, 86, 128}, buffer.data(), 258), Status::Ok);

    // The file stores its rows bottom-up, each padded to 260 bytes, after a 54-byte header.
    const std::vector<uint8_t> file = SourceFile("resources/bitmaps/microphone_symbol.bmp");
    ASSERT_EQ(file.size(), 54u + 260 * 128);
    for (int y = 0; y < 128; ++y) {
        ASSERT_EQ(std::memcmp(buffer.data() + y * 258, file.data() + 54 + (127 - y) * 260, 258), 0) << y;
    }

    EXPECT_FALSE(Bitmap::FromResource(kNoSuchBitmap));
}

}  // namespace
}  // namespace kestrova::imaging
