#include "platform/media/avi_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/platform/media/support/probe.h"
#include "tests/support/temp_folder.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

constexpr int kWidth = 64, kHeight = 48;
constexpr size_t kFrameBytes = kWidth * kHeight * 3;
constexpr REFERENCE_TIME kTwentyASecond = kUnitsPerSecond / 20;

// Writes what the writer sends into a file, and fails every write from `failFrom` on.
class FileSink {
public:
    explicit FileSink(const std::string& path)
        : fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)) {}
    ~FileSink() { close(fd_); }

    AviWriter::Sink Sink() {
        return [this](int64_t position, uint8_t* data, size_t size, bool) {
            if (writes_++ >= failFrom) return VFW_E_FILE_ERROR;
            return pwrite(fd_, data, size, off_t(position)) == ssize_t(size) ? S_OK : VFW_E_FILE_ERROR;
        };
    }

    size_t failFrom = SIZE_MAX;

private:
    int fd_;
    size_t writes_ = 0;
};

// A bitmap whose every byte is its frame's number, so that a reader shows which frame it gave.
std::vector<uint8_t> NumberedFrame(int number, size_t bytes = kFrameBytes) {
    return std::vector<uint8_t>(bytes, uint8_t(number));
}

TEST(AviWriter, ManyRiffsAndAFullIndexKeepEveryFrameInItsPlace) {
    TempFolder folder;
    const std::string file = folder.native() + "riffs.avi";
    FileSink sink(file);
    // About 56 frames a RIFF, two checkpoints in each; four index entries fill up in the third RIFF, are
    // merged in the fourth, and leave no room for a fifth.
    AviWriter writer({{kWidth, kHeight, false, kTwentyASecond}}, sink.Sink(), AviLimits{512 * 1024, 4});
    ASSERT_EQ(writer.Begin(), S_OK);
    int written = 0;
    HRESULT hr = S_OK;
    while (hr == S_OK && written < 1000) {
        std::vector<uint8_t> frame = NumberedFrame(written);
        hr = writer.WriteFrame(0, frame.data(), frame.size());
        if (hr == S_OK) ++written;
    }
    EXPECT_EQ(hr, S_FALSE) << "the index ran out of room";
    ASSERT_EQ(writer.Finish(), S_OK);
    ASSERT_GT(written, 200);

    const auto layout = ReadAviLayout(file);
    ASSERT_TRUE(layout);
    EXPECT_TRUE(layout->sizesFit);
    EXPECT_EQ(layout->riffs, 4);
    EXPECT_EQ(layout->streamFrames, uint32_t(written));
    EXPECT_EQ(layout->extendedFrames, written);
    EXPECT_EQ(layout->indexedFrames, written);
    EXPECT_LT(layout->mainHeaderFrames, uint32_t(written / 3)) << "the first RIFF's frames only";

    const auto probed = ProbeFirstStream(file);
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "rawvideo");
    EXPECT_EQ(probed->frameRate, "20/1");
    EXPECT_EQ(probed->headerFrames, written);
    EXPECT_EQ(probed->readFrames, written);
    const std::vector<uint8_t> rgb = DecodeFramesRgb(file, written);
    ASSERT_EQ(rgb.size(), kFrameBytes * size_t(written));
    for (int i = 0; i < written; ++i) EXPECT_EQ(rgb[kFrameBytes * size_t(i)], uint8_t(i)) << "frame " << i;
}

TEST(AviWriter, StreamsOfTheirOwnSizeAndRateInterleave) {
    TempFolder folder;
    const std::string file = folder.native() + "two.avi";
    FileSink sink(file);
    AviWriter writer({{kWidth, kHeight, false, kTwentyASecond}, {32, 24, false, kUnitsPerSecond / 10}},
                     sink.Sink());
    ASSERT_EQ(writer.Begin(), S_OK);
    for (int i = 0; i < 60; ++i) {
        std::vector<uint8_t> frame = NumberedFrame(i);
        ASSERT_EQ(writer.WriteFrame(0, frame.data(), frame.size()), S_OK);
        if (i % 2) continue;
        std::vector<uint8_t> small = NumberedFrame(i, 32 * 24 * 3);
        ASSERT_EQ(writer.WriteFrame(1, small.data(), small.size()), S_OK);
    }
    ASSERT_EQ(writer.Finish(), S_OK);

    const auto first = ProbeStream(file, 0);
    const auto second = ProbeStream(file, 1);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->width, kWidth);
    EXPECT_EQ(first->readFrames, 60);
    EXPECT_EQ(first->frameRate, "20/1");
    EXPECT_EQ(second->width, 32);
    EXPECT_EQ(second->readFrames, 30);
    EXPECT_EQ(second->headerFrames, 30);
    EXPECT_EQ(second->frameRate, "10/1");
}

TEST(AviWriter, AFailedWriteIsReturnedAndTheFileKeepsItsLastCheckpoint) {
    TempFolder folder;
    const std::string file = folder.native() + "full.avi";
    FileSink sink(file);
    AviWriter writer({{kWidth, kHeight, false, kTwentyASecond}}, sink.Sink());
    ASSERT_EQ(writer.Begin(), S_OK);
    // Thirty frames (one checkpoint) go in whole, then the disk is full.
    int frames = 0;
    for (; frames < 30; ++frames) {
        std::vector<uint8_t> frame = NumberedFrame(frames);
        ASSERT_EQ(writer.WriteFrame(0, frame.data(), frame.size()), S_OK);
    }
    sink.failFrom = 0;
    std::vector<uint8_t> frame = NumberedFrame(frames);
    EXPECT_EQ(writer.WriteFrame(0, frame.data(), frame.size()), VFW_E_FILE_ERROR);
    EXPECT_EQ(writer.Finish(), VFW_E_FILE_ERROR);

    const auto layout = ReadAviLayout(file);
    ASSERT_TRUE(layout);
    EXPECT_TRUE(layout->sizesFit);
    EXPECT_EQ(layout->streamFrames, 20u);
    EXPECT_EQ(layout->indexedFrames, 20);
    const auto probed = ProbeFirstStream(file);
    ASSERT_TRUE(probed);
    EXPECT_GE(probed->readFrames, 20);
}

}  // namespace
}  // namespace kestrova::mediatest
