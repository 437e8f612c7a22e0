#include <gtest/gtest.h>

#include "platform/base/text.h"
#include "platform/media/filter_classes.h"
#include "platform/media/wav_dest.h"
#include "tests/platform/media/support/free_running_clock.h"
#include "tests/platform/media/support/probe.h"
#include "tests/platform/media/support/recording_graphs.h"
#include "tests/support/temp_folder.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

struct WavCase {
    uint32_t rate;
    uint16_t channels;
};

class WavRecording : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavRecording, TheHeaderDescribesExactlyTheAudioThatFollowsIt) {
    const WavCase c = GetParam();
    ScopedFreeRunningClock clock;
    TempFolder folder;
    const std::wstring file = folder.path() + L"sound.wav";
    WavGraph g;
    ASSERT_EQ(g.Build(std::make_shared<WavDest>(), c.rate, c.channels, file), S_OK);
    const int buffers = RunFor(*g.graph, g.callback, 25);
    ASSERT_GE(buffers, 25);

    const auto sizes = ReadWavSizes(ToUtf8(file));
    ASSERT_TRUE(sizes);
    const uint64_t bytesPerBuffer = uint64_t(c.rate / 10) * c.channels * 2;
    EXPECT_EQ(sizes->dataSize, buffers * bytesPerBuffer);
    EXPECT_EQ(sizes->dataOffset + sizes->dataSize, sizes->fileBytes);
    EXPECT_EQ(sizes->riffSize, sizes->fileBytes - 8);
    EXPECT_EQ(sizes->sampleRate, c.rate);
    EXPECT_EQ(sizes->channels, c.channels);

    const auto probed = ProbeFirstStream(ToUtf8(file));
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "pcm_s16le");
    EXPECT_EQ(probed->sampleRate, int(c.rate));
    EXPECT_EQ(probed->channels, c.channels);
}

INSTANTIATE_TEST_SUITE_P(Formats, WavRecording, ::testing::Values(WavCase{11025, 1}, WavCase{44100, 2}));

TEST(WavRecordingLimit, AudioBeyondWhatTheHeaderCanCountIsDropped) {
    ScopedFreeRunningClock clock;
    TempFolder folder;
    const std::wstring file = folder.path() + L"capped.wav";
    WavGraph g;
    ASSERT_EQ(g.Build(std::make_shared<WavDest>(5001), 11025, 1, file), S_OK);  // 2,204 bytes a buffer
    ASSERT_GE(RunFor(*g.graph, g.callback, 5), 5);
    const auto sizes = ReadWavSizes(ToUtf8(file));
    ASSERT_TRUE(sizes);
    EXPECT_EQ(sizes->dataSize, 5000u) << "whole samples only";
    EXPECT_EQ(sizes->fileBytes, 44u + 5000u);
    EXPECT_EQ(sizes->riffSize, 36u + 5000u);
}

TEST(WavRecordingRuns, EachRunStartsItsFileAfresh) {
    ScopedFreeRunningClock clock;
    TempFolder folder;
    WavGraph g;
    ASSERT_EQ(g.Build(std::make_shared<WavDest>(), 11025, 1, folder.path() + L"first.wav"), S_OK);
    const int first = RunFor(*g.graph, g.callback, 20);
    std::shared_ptr<IBaseFilter> writer;
    g.graph->FindFilterByName(L"File Writer", &writer);
    QueryInterface<IFileSinkFilter>(writer)->SetFileName(folder.path() + L"second.wav", nullptr);
    const int second = RunFor(*g.graph, g.callback, first + 5) - first;
    const auto a = ReadWavSizes(folder.native() + "first.wav");
    const auto b = ReadWavSizes(folder.native() + "second.wav");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->dataSize, uint32_t(first) * 2204);
    EXPECT_EQ(b->dataSize, uint32_t(second) * 2204);
}

}  // namespace
}  // namespace kestrova::mediatest
