#include "engine/frame_output.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "engine/device.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/imaging/bitmap.h"
#include "platform/ui/gdi.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/engine/device/kit/test_device.h"
#include "tests/platform/base/log_capture.h"
#include "tests/support/temp_folder.h"

namespace kestrova::testing {
namespace {

std::vector<uint8_t> ReadFile(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

TEST(FrameOutputTest, CopyFrameCopiesOnlyAFrameOfTheAskedSize) {
    TestDevice d;
    std::vector<uint8_t> buffer(kFrameBytes640x480, 0xAB);
    imaging::BitmapInfo header;

    // Not a size a caller may ask for: nothing is touched, not even without a frame.
    EXPECT_EQ(d.CopyFrame(buffer.data(), kFrameBytes480x360, &header), 0);
    EXPECT_EQ(buffer[0], 0xAB);

    // No frame: the buffer is zeroed.
    EXPECT_EQ(d.CopyFrame(buffer.data(), kFrameBytes320x240, &header), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[kFrameBytes320x240 - 1], 0);
    EXPECT_EQ(buffer[kFrameBytes320x240], 0xAB);

    // A frame of another size: nothing is copied.
    d.PutFrame(320, 240, 10, 20, 30);
    std::fill(buffer.begin(), buffer.end(), 0xAB);
    EXPECT_EQ(d.CopyFrame(buffer.data(), kFrameBytes640x480, &header), 0);
    EXPECT_EQ(buffer[0], 0xAB);

    EXPECT_EQ(d.CopyFrame(buffer.data(), kFrameBytes320x240, &header), 1);
    EXPECT_EQ(buffer[0], 10);
    EXPECT_EQ(buffer[kFrameBytes320x240 - 1], 30);
    EXPECT_EQ(header.bmiHeader.biWidth, 320);
    EXPECT_EQ(header.bmiHeader.biHeight, 240);
    EXPECT_EQ(d.CopyFrame(buffer.data(), kFrameBytes320x240, nullptr), 1);
}

TEST(FrameOutputTest, DrawFrameStretchesTheWholePictureIntoTheRectangle) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(dc, 200, 200);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, 200, 200};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    TestDevice d;
    RECT tile{10, 20, 170, 140};
    EXPECT_EQ(d.DrawFrame(dc, tile), 1);  // no frame: nothing drawn
    EXPECT_EQ(GetPixel(dc, 10, 20), RGB(255, 255, 255));
    d.PutFrame(480, 360, 30, 20, 10);  // the microphone's level picture
    EXPECT_EQ(d.DrawFrame(dc, tile), 1);
    for (POINT p : {POINT{10, 20}, POINT{169, 139}, POINT{90, 80}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(10, 20, 30));
    for (POINT p : {POINT{9, 20}, POINT{170, 139}, POINT{10, 19}, POINT{10, 140}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST(FrameOutputTest, SaveFrameWritesJpegForFormatOneAndPngOtherwise) {
    TempFolder folder;
    TestDevice d;
    // Top half of the picture red, bottom half blue; stored rows run bottom-up.
    d.PutFrame(320, 240, [](int, int y, int c) -> uint8_t {
        const bool top = y >= 120;
        return c == (top ? 2 : 0) ? 250 : 0;
    });
    struct Case {
        int format;
        std::vector<uint8_t> magic;
    };
    const Case cases[] = {
        {1, {0xFF, 0xD8, 0xFF}},
        {0, {0x89, 'P', 'N', 'G'}},
        {2, {0x89, 'P', 'N', 'G'}},
    };
    for (const Case& c : cases) {
        const std::wstring path = folder.path() + L"photo" + std::to_wstring(c.format);
        ASSERT_EQ(d.SaveFrame(path, c.format, 70), 1) << c.format;
        const std::vector<uint8_t> bytes = ReadFile(path);
        ASSERT_GE(bytes.size(), c.magic.size());
        EXPECT_TRUE(std::equal(c.magic.begin(), c.magic.end(), bytes.begin())) << c.format;
        auto picture = imaging::Bitmap::Decode(bytes.data(), bytes.size());
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width(), 320);
        EXPECT_EQ(picture->Height(), 240);
        EXPECT_GT(picture->Row(10)[2], 200) << "the top is red";
        EXPECT_LT(picture->Row(10)[0], 50);
        EXPECT_GT(picture->Row(230)[0], 200) << "the bottom is blue";
    }
}

TEST(FrameOutputTest, SaveFrameFailsWithItsReasonWhenNothingIsWritten) {
    TempFolder folder;
    TestDevice d;
    const std::wstring none = folder.path() + L"none.png";
    EXPECT_EQ(d.SaveFrame(none, 0, 70), 0) << "a device without a picture saved nothing";
    EXPECT_EQ(d.SaveFrameAs(none, 1, 70), FrameSave::kNoFrame);
    EXPECT_FALSE(FileExists(none));

    d.PutFrame(320, 240, 1, 2, 3);
    EXPECT_EQ(d.SaveFrame(L"/nonexistent-folder/x.png", 0, 70), 0);
    EXPECT_EQ(d.SaveFrameAs(L"/nonexistent-folder/x.png", 0, 70), FrameSave::kNotWritten);
    EXPECT_EQ(d.SaveFrameAs(none, 0, 70), FrameSave::kSaved);
}

TEST(FrameOutputTest, EncodersAreFoundByTheirExactMimeType) {
    struct Case {
        const char* mime;
        int found;
    };
    const Case cases[] = {{"image/jpeg", 1}, {"image/png", 1}, {"image/gif", 0}, {"image/JPEG", 0}, {"", 0}};
    for (const Case& c : cases) {
        int id = -1;
        EXPECT_EQ(GetEncoderClsid(c.mime, &id), c.found) << c.mime;
    }
    int jpeg = -1, png = -1;
    GetEncoderClsid("image/jpeg", &jpeg);
    GetEncoderClsid("image/png", &png);
    EXPECT_NE(jpeg, png);
}

TEST(FrameOutputTest, PrivacyCellsAreBlackInStoredFrames) {
    struct Case {
        int width, height;
        int firstRow;  // the stored rows of the top cell row
        int cellBytes;
    };
    const Case cases[] = {{640, 480, 468, 48}, {320, 240, 234, 24}};
    for (const Case& c : cases) {
        TestDevice d;
        MaskGrid privacy{};
        privacy[MaskCell(0, 0)] = 1;
        MaskGrid motion{};
        d.SetMasks(&motion, &privacy);
        d.PutFrame(c.width, c.height, 200, 200, 200);
        std::vector<uint8_t> frame(size_t(c.width) * c.height * 3);
        ASSERT_EQ(d.CopyFrame(frame.data(), int(frame.size()), nullptr), 1);
        const size_t stride = size_t(c.width) * 3;
        for (int y = 0; y < c.height; ++y) {
            for (size_t b = 0; b < stride; b += 1) {
                const bool black = y >= c.firstRow && b < size_t(c.cellBytes);
                ASSERT_EQ(frame[y * stride + b], black ? 0 : 200) << c.width << " row " << y << " byte " << b;
            }
        }
    }
}

class WebSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock_); }
    void TearDown() override { SetClock(nullptr); }

    std::wstring SnapshotPath(int index) {
        return folder_.path() + L"Server/" + std::to_wstring(index) + L".jpg";
    }

    TestClock clock_;
    TempFolder folder_;
};

TEST_F(WebSnapshotTest, OnlyAPublishedIndexGetsASnapshot) {
    for (int index : {0, -1}) {
        TestDevice d;
        d.SetStorageFolder(folder_.path());
        d.SetWebIndex(index);
        d.PutFrame(320, 240, 1, 2, 3);
        clock_.Advance(1000);
    }
    EXPECT_FALSE(FileExists(folder_.path() + L"Server"));
}

TEST_F(WebSnapshotTest, AtMostOneSnapshotPerSecond) {
    TestDevice d;
    d.SetStorageFolder(folder_.path());
    d.SetWebIndex(3);
    d.PutFrame(320, 240, 1, 2, 3);
    const std::vector<uint8_t> first = ReadFile(SnapshotPath(3));
    ASSERT_GE(first.size(), 3u);
    EXPECT_EQ(first[0], 0xFF);
    EXPECT_EQ(first[1], 0xD8);

    RemoveFile(SnapshotPath(3));
    clock_.Advance(999);
    d.PutFrame(320, 240, 1, 2, 3);
    EXPECT_FALSE(FileExists(SnapshotPath(3))) << "a second frame within the same second";
    clock_.Advance(1);
    d.PutFrame(320, 240, 1, 2, 3);
    EXPECT_TRUE(FileExists(SnapshotPath(3)));
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Server"});
}

TEST_F(WebSnapshotTest, AFailingSnapshotIsLoggedOncePerRunOfFailures) {
    LogCapture log;
    TestDevice d(kDeviceUsbCamera, L"Hall");
    d.SetStorageFolder(folder_.path());
    d.SetWebIndex(2);
    const std::filesystem::path server = folder_.native() + "Server";
    // A file where the snapshot folder belongs: no snapshot can be written.
    const auto blockTheFolder = [&] {
        std::filesystem::remove_all(server);
        std::ofstream(server) << "not a folder";
    };
    const std::string failure = "error: web snapshot: Hall: " + server.string() +
                                "/2.jpg not saved: the file could not be written (Not a directory)";
    blockTheFolder();
    for (int second = 0; second < 3; ++second) {
        d.PutFrame(320, 240, 1, 2, 3);
        clock_.Advance(1000);
    }
    EXPECT_EQ(log.LinesWith("web snapshot"), std::vector<std::string>{failure});

    std::filesystem::remove(server);
    d.PutFrame(320, 240, 1, 2, 3);
    clock_.Advance(1000);
    EXPECT_TRUE(FileExists(SnapshotPath(2)));
    blockTheFolder();
    d.PutFrame(320, 240, 1, 2, 3);
    EXPECT_EQ(log.LinesWith("web snapshot"), std::vector<std::string>(2, failure))
        << "a new run of failures after a success";
}

TEST_F(WebSnapshotTest, AReaderNeverSeesAHalfWrittenSnapshot) {
    TestDevice d;
    d.SetStorageFolder(folder_.path());
    d.SetWebIndex(1);
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, broken{0};
    std::thread reader([&] {
        while (!done) {
            std::vector<uint8_t> bytes;
            if (!ReadWholeFile(SnapshotPath(1), bytes)) continue;
            ++reads;
            if (!imaging::Bitmap::Decode(bytes.data(), bytes.size())) ++broken;
        }
    });
    for (int i = 0; i < 40; ++i) {
        d.PutFrame(320, 240, [i](int x, int y, int c) { return uint8_t(x * 7 + y * 3 + c * 50 + i); });
        clock_.Advance(1000);
    }
    done = true;
    reader.join();
    EXPECT_GT(reads.load(), 0);
    EXPECT_EQ(broken.load(), 0);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder_.native() + "Server")) {
        names.push_back(e.path().filename());
    }
    EXPECT_EQ(names, std::vector<std::string>{"1.jpg"}) << "no temporary file is left behind";
}

}  // namespace
}  // namespace kestrova::testing
