#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/text.h"
#include "platform/media/capture_graph_builder.h"
#include "platform/media/filter_classes.h"
#include "platform/media/mjpeg_compressor.h"
#include "platform/media/stream_config.h"
#include "tests/platform/media/graph_helpers.h"
#include "tests/platform/media/support/free_running_clock.h"
#include "tests/platform/media/support/probe.h"
#include "tests/support/temp_folder.h"

namespace kestrova::mediatest {
namespace {

using namespace media;

// Paints a bottom-up BGR frame: red over the top half, blue over the bottom half, and a fine pattern in green
// so that the JPEG quality shows in the file size.
void PaintHalves(uint8_t* buffer, long length) {
    const int width = length == 921600 ? 640 : 320;
    const int height = width * 3 / 4;
    for (int row = 0; row < height; ++row) {
        const bool top = row >= height / 2;  // bottom-up: the last rows are the top of the picture
        uint8_t* p = buffer + size_t(row) * size_t(width) * 3;
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = top ? 0 : 255;
            p[1] = uint8_t(((x * 7) ^ (row * 13)) & 0x3F);
            p[2] = top ? 255 : 0;
        }
    }
}

// The recording graph as the cameras build it: frame source, Sample Grabber, Smart Tee, an optional MJPEG
// compressor, and the AVI multiplexer with its File Writer.
struct RecordingGraph {
    std::shared_ptr<FilterGraph> graph = std::make_shared<FilterGraph>();
    CaptureGraphBuilder builder;
    CountingCallback callback;

    // `quality` < 0: no compressor.
    HRESULT Build(int width, double quality, const std::wstring& file) {
        builder.SetFiltergraph(graph);
        std::shared_ptr<IBaseFilter> source, grabberFilter, tee, compressor, mux;
        std::shared_ptr<IFileSinkFilter> sink;
        HRESULT hr = CoCreateInstance(CLSID_FrameSource, &source);
        if (FAILED(hr) || FAILED(hr = graph->AddFilter(source, L"BRANTLOW Frames"))) return hr;
        IPin* out = nullptr;
        builder.FindPin(source.get(), PINDIR_OUTPUT, PIN_CATEGORY_None, MEDIATYPE_None, false, 0, &out);
        IAMStreamConfig* config = out->StreamConfig();
        int count = 0, size = 0;
        config->GetNumberOfCapabilities(&count, &size);
        for (int i = 0; i < count; ++i) {
            AM_MEDIA_TYPE type;
            VIDEO_STREAM_CONFIG_CAPS caps;
            config->GetStreamCaps(i, &type, reinterpret_cast<uint8_t*>(&caps));
            if (type.VideoInfo()->bmiHeader.biWidth == width) config->SetFormat(type);
        }
        CoCreateInstance(CLSID_SampleGrabber, &grabberFilter);
        graph->AddFilter(grabberFilter, L"Sample Grabber");
        auto grabber = QueryInterface<ISampleGrabber>(grabberFilter);
        AM_MEDIA_TYPE rgb;
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        rgb.formattype = FORMAT_VideoInfo;
        grabber->SetMediaType(rgb);
        grabber->SetCallback(&callback, 1);
        CoCreateInstance(CLSID_SmartTee, &tee);
        graph->AddFilter(tee, L"Smart Tee");
        if (FAILED(hr = builder.SetOutputFileName(MEDIASUBTYPE_Avi, file, &mux, &sink))) return hr;
        if (quality >= 0) {
            CoCreateInstance(CLSID_MjpegCompressor, &compressor);
            graph->AddFilter(compressor, L"MJPEG Compressor");
            QueryInterface<IAMVideoCompression>(compressor)->put_Quality(quality);
        }
        if (FAILED(hr = builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, source.get(), nullptr,
                                             grabberFilter.get())) ||
            FAILED(hr = builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, grabberFilter.get(), nullptr,
                                             tee.get()))) {
            return hr;
        }
        return builder.RenderStream(PIN_CATEGORY_None, MEDIATYPE_None, tee.get(), compressor.get(),
                                    mux.get());
    }
};

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
