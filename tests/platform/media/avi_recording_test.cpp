#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/text.h"
#include "platform/media/filter_classes.h"
#include "tests/platform/media/support/free_running_clock.h"
#include "tests/platform/media/support/probe.h"
#include "tests/platform/media/support/recording_graphs.h"
#include "tests/support/temp_folder.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

struct AviCase {
    int width;
    double quality;
    const char* codec;
    const char* tag;
};

class AviRecording : public ::testing::TestWithParam<AviCase> {};

TEST_P(AviRecording, ReadersSeeTheCodecTheSizeEveryFrameAndThePicture) {
    const AviCase c = GetParam();
    ScopedFreeRunningClock clock;
    TempFolder folder;
    const std::wstring file = folder.path() + L"clip.avi";
    RecordingGraph g;
    ASSERT_EQ(g.Build(c.width, c.quality, file), S_OK);
    g.callback.paint = PaintHalves;
    const int frames = RunFor(*g.graph, g.callback, 30);
    ASSERT_GE(frames, 30);

    const auto probed = ProbeFirstStream(ToUtf8(file));
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, c.codec);
    EXPECT_EQ(probed->codecTag, c.tag);
    EXPECT_EQ(probed->width, c.width);
    EXPECT_EQ(probed->height, c.width * 3 / 4);
    EXPECT_EQ(probed->frameRate, "20/1");
    EXPECT_EQ(probed->headerFrames, frames);
    EXPECT_EQ(probed->readFrames, frames);

    const std::vector<uint8_t> rgb = DecodeFirstFrameRgb(ToUtf8(file));
    ASSERT_EQ(rgb.size(), size_t(c.width) * size_t(c.width * 3 / 4) * 3);
    const uint8_t* topLeft = rgb.data();
    const uint8_t* bottomLeft = rgb.data() + rgb.size() - size_t(c.width) * 3;
    EXPECT_GT(topLeft[0], 200);
    EXPECT_LT(topLeft[2], 60);
    EXPECT_LT(bottomLeft[0], 60);
    EXPECT_GT(bottomLeft[2], 200);
}

INSTANTIATE_TEST_SUITE_P(Formats, AviRecording,
                         ::testing::Values(AviCase{320, 0.5, "mjpeg", "MJPG"},
                                           AviCase{640, 1.0, "mjpeg", "MJPG"},
                                           AviCase{640, -1, "rawvideo", "[0][0][0][0]"}));

TEST(AviRecordingQuality, FullQualityFramesAreClearlyLargerThanHalfQuality) {
    ScopedFreeRunningClock clock;
    TempFolder folder;
    double bytesPerFrame[2];
    const double qualities[2] = {0.5, 1.0};
    for (int i = 0; i < 2; ++i) {
        const std::wstring file = folder.path() + (i ? L"full.avi" : L"half.avi");
        RecordingGraph g;
        ASSERT_EQ(g.Build(640, qualities[i], file), S_OK);
        g.callback.paint = PaintHalves;
        const int frames = RunFor(*g.graph, g.callback, 20);
        bytesPerFrame[i] = double(std::filesystem::file_size(ToUtf8(file))) / frames;
    }
    EXPECT_GT(bytesPerFrame[1], 1.5 * bytesPerFrame[0]);
}

TEST(AviRecordingSize, AnUncompressedRecordingPastOneGibibyteStaysWhole) {
    ScopedFreeRunningClock clock;
    TempFolder folder;
    const std::wstring file = folder.path() + L"long.avi";
    RecordingGraph g;
    ASSERT_EQ(g.Build(640, -1, file), S_OK);
    const int frames = RunFor(*g.graph, g.callback, 1200);
    ASSERT_GE(frames, 1200);
    EXPECT_GT(std::filesystem::file_size(ToUtf8(file)), uint64_t(1) << 30);

    const auto probed = ProbeFirstStream(ToUtf8(file));
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->headerFrames, frames);
    EXPECT_EQ(probed->readFrames, frames);
}

TEST(AviRecordingFailure, ARunIntoAMissingFolderFailsAndLeavesTheGraphStopped) {
    ScopedFreeRunningClock clock;
    TempFolder folder;
    const std::wstring file = folder.path() + L"missing/clip.avi";
    RecordingGraph g;
    ASSERT_EQ(g.Build(320, 0.5, file), S_OK);
    EXPECT_TRUE(FAILED(g.graph->Run()));
    FILTER_STATE state = State_Running;
    g.graph->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_EQ(g.callback.count.load(), 0);
    // The same graph records once its file can be made.
    std::shared_ptr<IBaseFilter> writer;
    ASSERT_EQ(g.graph->FindFilterByName(L"File Writer", &writer), S_OK);
    QueryInterface<IFileSinkFilter>(writer)->SetFileName(folder.path() + L"clip.avi", nullptr);
    EXPECT_GE(RunFor(*g.graph, g.callback, 5), 5);
    EXPECT_TRUE(ProbeFirstStream(folder.native() + "clip.avi"));
}

}  // namespace
}  // namespace kestrova::mediatest
