#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "platform/base/files.h"
#include "platform/imaging/bitmap.h"
#include "tests/platform/imaging/pictures.h"
#include "tests/support/temp_folder.h"

namespace kestrova::imaging {
namespace {

int EncoderFor(const char* mimeType) {
    int id = -1;
    EXPECT_TRUE(FindEncoder(mimeType, &id)) << mimeType;
    return id;
}

std::vector<uint8_t> EncodeOrFail(const Bitmap& bitmap, const char* mimeType, int quality) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(Encode(bitmap, EncoderFor(mimeType), quality, bytes), Status::Ok);
    return bytes;
}

TEST(ImageEncoders, ListJpegThenPngAndFindEachByExactType) {
    const auto& encoders = ImageEncoders();
    ASSERT_EQ(encoders.size(), 2u);
    EXPECT_EQ(encoders[0].mimeType, "image/jpeg");
    EXPECT_EQ(encoders[1].mimeType, "image/png");
    int id = -1;
    EXPECT_TRUE(FindEncoder("image/png", &id));
    EXPECT_EQ(id, encoders[1].id);
    for (const char* unknown : {"image/gif", "image/JPEG", "image/jpeg ", ""}) {
        EXPECT_FALSE(FindEncoder(unknown, &id)) << unknown;
    }
}

TEST(JpegCodec, HigherQualityIsLargerAndDecodesToTheSameSize) {
    const Bitmap picture = RandomPicture(320, 240, 7);
    const std::vector<uint8_t> fine = EncodeOrFail(picture, "image/jpeg", 90);
    const std::vector<uint8_t> coarse = EncodeOrFail(picture, "image/jpeg", 30);
    EXPECT_GT(fine.size(), coarse.size());
    for (const auto* bytes : {&fine, &coarse}) {
        auto decoded = Bitmap::Decode(bytes->data(), bytes->size());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->Width(), 320);
        EXPECT_EQ(decoded->Height(), 240);
    }
}

TEST(JpegCodec, RefusesQualityOutOfRangeAndUnknownEncoders) {
    const Bitmap picture(16, 16);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(Encode(picture, EncoderFor("image/jpeg"), 101, bytes), Status::InvalidParameter);
    EXPECT_EQ(Encode(picture, EncoderFor("image/jpeg"), -1, bytes), Status::InvalidParameter);
    EXPECT_EQ(Encode(picture, EncoderFor("image/jpeg"), 0, bytes), Status::Ok);
    EXPECT_EQ(Encode(picture, 12345, 50, bytes), Status::InvalidParameter);
    EXPECT_EQ(Encode(Bitmap(0, 0), EncoderFor("image/png"), 0, bytes), Status::InvalidParameter);
}

TEST(PngCodec, RoundTripIsExactForTopDownAndBottomUpRows) {
    // An odd width, so every row carries padding the codec must skip.
    const Bitmap topDown = RandomPicture(37, 23, 1);
    const std::vector<uint8_t> bytes = EncodeOrFail(topDown, "image/png", 0);
    auto decoded = Bitmap::Decode(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(SamePixels(*decoded, topDown));

    const Frame frame = TwoToneFrame(37, 23);
    auto bottomUp = Bitmap::FromFrame(frame.header, frame.pixels.data());
    ASSERT_TRUE(bottomUp);
    const std::vector<uint8_t> frameBytes = EncodeOrFail(*bottomUp, "image/png", 0);
    auto frameDecoded = Bitmap::Decode(frameBytes.data(), frameBytes.size());
    ASSERT_TRUE(frameDecoded);
    EXPECT_TRUE(SamePixels(*frameDecoded, *bottomUp));
}

TEST(PngCodec, TransparentPixelsDecodeOverBlack) {
    const uint8_t rgba[2 * 4] = {10, 20, 30, 255, 200, 200, 200, 0};  // opaque, then fully transparent
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::vector<uint8_t> bytes(size);
    ASSERT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba, 0, nullptr));
    auto decoded = Bitmap::Decode(bytes.data(), size);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(Near(PixelAt(*decoded, 0, 0), {30, 20, 10}, 0));
    EXPECT_TRUE(Near(PixelAt(*decoded, 1, 0), {0, 0, 0}, 0));
}

TEST(Save, BottomUpFrameComesBackUprightInEitherFormat) {
    TempFolder folder;
    const Frame frame = TwoToneFrame(64, 48);
    auto bitmap = Bitmap::ViewFrame(frame.header, frame.pixels.data());
    ASSERT_TRUE(bitmap);
    for (const char* mimeType : {"image/jpeg", "image/png"}) {
        const std::wstring path = folder.path() + L"frame";
        ASSERT_EQ(Save(*bitmap, path, EncoderFor(mimeType), 90), Status::Ok) << mimeType;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes));
        auto decoded = Bitmap::Decode(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded) << mimeType;
        EXPECT_TRUE(Near(PixelAt(*decoded, 32, 2), kTopColour, 12)) << mimeType;
        EXPECT_TRUE(Near(PixelAt(*decoded, 32, 45), kBottomColour, 12)) << mimeType;
    }
}

TEST(Save, ReplacesAnExistingFileAndReportsAnUnwritablePath) {
    TempFolder folder;
    const std::wstring path = folder.path() + L"snapshot.jpg";
    const std::vector<uint8_t> old(100000, 'x');
    ASSERT_TRUE(WriteFileAtomic(path, old.data(), old.size()));
    const Bitmap picture = RandomPicture(16, 16, 3);
    ASSERT_EQ(Save(picture, path, EncoderFor("image/jpeg"), 70), Status::Ok);
    std::vector<uint8_t> written;
    ASSERT_TRUE(ReadWholeFile(path, written));
    EXPECT_EQ(written, EncodeOrFail(picture, "image/jpeg", 70));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"snapshot.jpg"});

    EXPECT_EQ(Save(picture, folder.path() + L"missing/snapshot.jpg", EncoderFor("image/jpeg"), 70),
              Status::Win32Error);
}

TEST(Decode, DamagedBytesFailCleanly) {
    const Bitmap picture = RandomPicture(40, 30, 5);
    const std::vector<uint8_t> jpeg = EncodeOrFail(picture, "image/jpeg", 80);
    const std::vector<uint8_t> png = EncodeOrFail(picture, "image/png", 0);
    std::vector<uint8_t> badCrc = png;
    badCrc[29] ^= 0xFF;  // inside the header chunk, whose checksum no longer matches
    std::vector<uint8_t> pngCut(png.begin(), png.begin() + png.size() / 2);
    std::vector<uint8_t> jpegCut(jpeg.begin(), jpeg.begin() + 20);
    std::vector<uint8_t> jpegNoFrame = {0xFF, 0xD8, 0xFF, 0xD9};
    std::vector<uint8_t> bmpShort = {'B', 'M', 0, 0, 0, 0};
    std::vector<uint8_t> noise(500);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 37 + 11);
    const struct {
        const char* name;
        const std::vector<uint8_t>& bytes;
    } cases[] = {{"png with a bad checksum", badCrc},      {"png cut in half", pngCut},
                 {"jpeg cut inside its headers", jpegCut}, {"jpeg without a frame", jpegNoFrame},
                 {"bmp without headers", bmpShort},        {"noise", noise}};
    for (const auto& c : cases) {
        EXPECT_FALSE(Bitmap::Decode(c.bytes.data(), c.bytes.size())) << c.name;
    }
    EXPECT_FALSE(Bitmap::Decode(nullptr, 0));
    EXPECT_FALSE(Bitmap::Decode(jpeg.data(), 0));
}

}  // namespace
}  // namespace kestrova::imaging
