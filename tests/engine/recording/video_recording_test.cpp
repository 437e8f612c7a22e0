#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/device_messages.h"
#include "platform/base/clock.h"
#include "platform/base/text.h"
#include "platform/media/filter_classes.h"
#include "platform/media/frame_source.h"
#include "platform/media/running_object_table.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/engine/device/kit/stepping_clock.h"
#include "tests/engine/recording/recording_device.h"
#include "tests/platform/media/support/probe.h"
#include "tests/support/temp_folder.h"

namespace kestrova::testing {
namespace {

using namespace media;
using mediatest::DecodeFirstFrameRgb;
using mediatest::ProbeFirstStream;

constexpr char kFirst[] = "26-01-05/26-01-05 00-00-00 000.avi";  // the test clock's start
constexpr char kSecond[] = "26-01-05/26-01-05 00-00-00 001.avi";

// A camera recording into a temporary storage folder, reporting to a recorder window.
struct Camera {
    TempFolder storage;
    NotifyRecorder notes;
    RecordingDevice device;

    explicit Camera(int frameSize = 2, int compression = 0) {
        device.SetStorageFolder(storage.path());
        device.SetNotifyWindow(notes.window());
        device.SetFrameSize(frameSize);
        device.SetVideoCompression(compression);
    }
    std::vector<std::string> Files() { return RecordedFiles(storage.path(), L"Videos/"); }
    std::string Path(const std::string& file) { return storage.native() + "Videos/" + file; }
};

// Paints the picture whose colours the recording must give back: red over the top half, blue below, and
// a fine pattern in green that makes the JPEG quality show in the size.
void PutHalves(RecordingDevice& device, int width, int height) {
    device.PutFrame(width, height, [&](int x, int y, int c) -> uint8_t {
        const bool top = y >= height / 2;
        if (c == 1) return uint8_t(((x * 7) ^ (y * 13)) & 0x3F);
        return (c == 2) == top ? 230 : 20;
    });
}

// Records `frames` frames: the frame source paces itself on the stepping clock, one frame a step.
void RecordFrames(RecordingDevice& device, int frames) {
    constexpr uint32_t kFrameMs = 1000 / FrameSource::kFramesPerSecond;
    SteppingClock clock;
    ASSERT_EQ(device.RecordVideo(1), 1);
    ASSERT_TRUE(clock.AwaitWaits(1));  // the first frame is recorded and the source waits for the next
    for (int frame = 1; frame < frames; ++frame) ASSERT_TRUE(clock.Step(kFrameMs));
    ASSERT_EQ(device.RecordVideo(0), 1);
}

struct ContentCase {
    int frameSize;
    int compression;
    int frameWidth;  // of the device's current frame
    const char* codec;
    bool painted;  // false: the frame does not fit the recording, whose samples stay black
};

class VideoRecordingContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(VideoRecordingContent, TheFileCarriesTheDevicesFramesInTheChosenCodec) {
    const ContentCase c = GetParam();
    Camera camera(c.frameSize, c.compression);
    PutHalves(camera.device, c.frameWidth, c.frameWidth * 3 / 4);
    ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
    EXPECT_EQ(camera.device.HasFilter(L"MJPEG Compressor"), c.compression != 2);
    RecordFrames(camera.device, 6);

    const auto files = camera.Files();
    ASSERT_EQ(files.size(), 1u);
    const auto probed = ProbeFirstStream(camera.Path(files[0]));
    ASSERT_TRUE(probed);
    const int width = c.frameSize == 1 ? 320 : 640;
    EXPECT_EQ(probed->codecName, c.codec);
    EXPECT_EQ(probed->width, width);
    EXPECT_EQ(probed->height, width * 3 / 4);
    if (probed->codecName == "rawvideo") {
        EXPECT_EQ(probed->pixelFormat, "bgr24");
    }
    EXPECT_EQ(probed->readFrames, 6);
    EXPECT_EQ(probed->headerFrames, probed->readFrames);

    const std::vector<uint8_t> rgb = DecodeFirstFrameRgb(camera.Path(files[0]));
    ASSERT_EQ(rgb.size(), size_t(width) * size_t(width * 3 / 4) * 3);
    const uint8_t* top = rgb.data();
    const uint8_t* bottom = rgb.data() + rgb.size() - size_t(width) * 3;
    if (c.painted) {
        EXPECT_NEAR(top[0], 230, 30);
        EXPECT_NEAR(top[2], 20, 30);
        EXPECT_NEAR(bottom[0], 20, 30);
        EXPECT_NEAR(bottom[2], 230, 30);
    } else {
        EXPECT_LT(top[0] + top[1] + top[2], 30);
        EXPECT_LT(bottom[0] + bottom[1] + bottom[2], 30);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VideoRecordingContent,
                         ::testing::Values(ContentCase{1, 0, 320, "mjpeg", true},
                                           ContentCase{2, 1, 640, "mjpeg", true},
                                           ContentCase{2, 2, 640, "rawvideo", true},
                                           ContentCase{2, 0, 320, "mjpeg", false}));

TEST(VideoRecording, MediumCompressionKeepsMoreThanHighCompression) {
    double bytesPerFrame[2];
    for (int compression = 0; compression < 2; ++compression) {
        Camera camera(2, compression);
        PutHalves(camera.device, 640, 480);
        ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
        RecordFrames(camera.device, 5);
        const auto files = camera.Files();
        ASSERT_EQ(files.size(), 1u);
        const auto probed = ProbeFirstStream(camera.Path(files[0]));
        ASSERT_TRUE(probed && probed->readFrames == 5);
        bytesPerFrame[compression] =
            double(std::filesystem::file_size(camera.Path(files[0]))) / double(probed->readFrames);
    }
    EXPECT_GT(bytesPerFrame[1], 1.5 * bytesPerFrame[0]);
}

class FrozenClock : public ::testing::Test {
protected:
    FrozenClock() { SetClock(&clock_); }
    ~FrozenClock() override { SetClock(nullptr); }
    TestClock clock_;
};

using VideoRecordingFiles = FrozenClock;

TEST_F(VideoRecordingFiles, EachRecordingGetsTheNextNumberAndStartingTwiceMakesOneFile) {
    TempFolder current;
    const std::string previous = std::filesystem::current_path();
    std::filesystem::current_path(current.native());
    {
        Camera camera;
        ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
        camera.notes.Drain();
        EXPECT_EQ(camera.device.RecordVideo(0), 1);
        EXPECT_TRUE(camera.notes.Drain().empty()) << "stopping without a recording posts nothing";

        EXPECT_EQ(camera.device.RecordVideo(1), 1);
        EXPECT_EQ(camera.device.RecordVideo(1), 1);
        EXPECT_EQ(camera.device.GetState(kStateRecording), 1);
        EXPECT_EQ(camera.Files(), std::vector<std::string>{kFirst});
        EXPECT_EQ(camera.device.RecordVideo(0), 1);
        EXPECT_EQ(camera.device.GetState(kStateRecording), 0);
        const std::vector<Note> expected{{kNotifyState, kStateRecording, &camera.device},
                                         {kNotifyState, kStateRecording, &camera.device}};
        EXPECT_EQ(camera.notes.Drain(), expected);

        EXPECT_EQ(camera.device.RecordVideo(1), 1);
        EXPECT_EQ(camera.device.RecordVideo(0), 1);
        EXPECT_EQ(camera.Files(), (std::vector<std::string>{kFirst, kSecond}));
    }
    EXPECT_TRUE(current.Entries().empty()) << "the placeholder file is never made";
    std::filesystem::current_path(previous);
}

TEST_F(VideoRecordingFiles, TearingDownWhileRecordingEndsTheRecordingAndTheNextOneGoesToANewFile) {
    Camera camera;
    ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
    ASSERT_EQ(camera.device.RecordVideo(1), 1);
    camera.notes.Drain();

    EXPECT_EQ(camera.device.BuildVideoGraph(0), 1);
    EXPECT_EQ(camera.device.GetState(kStateRecording), 0);
    EXPECT_EQ(camera.notes.Drain(), (std::vector<Note>{{kNotifyState, kStateRecording, &camera.device}}));
    EXPECT_EQ(camera.device.Graph(), nullptr);
    EXPECT_EQ(camera.device.RecordVideo(0), 1) << "the alarm's own stop finds nothing to do";
    EXPECT_TRUE(camera.notes.Drain().empty());
    EXPECT_EQ(camera.device.BuildVideoGraph(0), 0) << "nothing left to tear down";

    ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
    ASSERT_EQ(camera.device.RecordVideo(1), 1);
    ASSERT_EQ(camera.device.RecordVideo(0), 1);
    EXPECT_EQ(camera.Files(), (std::vector<std::string>{kFirst, kSecond}));
}

TEST_F(VideoRecordingFiles, TwoCamerasStartingInTheSameSecondWriteTwoFiles) {
    TempFolder storage;
    RecordingDevice a, b;
    for (RecordingDevice* d : {&a, &b}) {
        d->SetStorageFolder(storage.path());
        ASSERT_EQ(d->BuildVideoGraph(1), 1);
    }
    std::thread other([&] { EXPECT_EQ(b.RecordVideo(1), 1); });
    EXPECT_EQ(a.RecordVideo(1), 1);
    other.join();
    a.RecordVideo(0);
    b.RecordVideo(0);
    EXPECT_EQ(RecordedFiles(storage.path(), L"Videos/"), (std::vector<std::string>{kFirst, kSecond}));
}

TEST_F(VideoRecordingFiles, TheGraphIsInTheRunningObjectTableWhileItIsBuilt) {
    Camera camera;
    ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
    const auto graph = camera.device.Graph();
    wchar_t expected[64];
    std::swprintf(expected, 64, L"!FilterGraph %08x pid %08x", unsigned(uintptr_t(graph.get())),
                  unsigned(getpid()));
    EXPECT_EQ(RotFind(expected), graph);
    camera.device.BuildVideoGraph(0);
    EXPECT_EQ(RotFind(expected), nullptr);
}

TEST_F(VideoRecordingFiles, WithoutTheFrameSourceThereIsNoGraphAndNothingRecords) {
    const FilterFactory saved = RegisterFilterClass(CLSID_FrameSource, nullptr);
    Camera camera;
    EXPECT_EQ(camera.device.BuildVideoGraph(1), 0);
    EXPECT_EQ(camera.device.Graph(), nullptr);
    EXPECT_EQ(camera.device.RecordVideo(1), 0);
    EXPECT_EQ(camera.device.GetState(kStateRecording), 0);
    RegisterFilterClass(CLSID_FrameSource, saved);
    EXPECT_TRUE(camera.Files().empty());
}

TEST(VideoRecordingFallback, WithoutTheCompressorTheRecordingIsUncompressed) {
    const FilterFactory saved = RegisterFilterClass(CLSID_MjpegCompressor, nullptr);
    Camera camera(1, 0);
    PutHalves(camera.device, 320, 240);
    ASSERT_EQ(camera.device.BuildVideoGraph(1), 1);
    EXPECT_FALSE(camera.device.HasFilter(L"MJPEG Compressor"));
    RecordFrames(camera.device, 4);
    RegisterFilterClass(CLSID_MjpegCompressor, saved);
    const auto files = camera.Files();
    ASSERT_EQ(files.size(), 1u);
    const auto probed = ProbeFirstStream(camera.Path(files[0]));
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "rawvideo");
}

TEST(VideoRecordingThreads, ATeardownNeverMeetsAStartOrStopHalfway) {
    Camera camera(1, 0);
    PutHalves(camera.device, 320, 240);
    std::atomic<bool> done{false};
    std::thread alarm([&] {
        while (!done.load()) {
            camera.device.RecordVideo(1);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            camera.device.RecordVideo(0);
        }
    });
    for (int i = 0; i < 40; ++i) {
        camera.device.BuildVideoGraph(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_EQ(camera.device.BuildVideoGraph(0), 1);
    }
    done = true;
    alarm.join();
    EXPECT_EQ(camera.device.GetState(kStateRecording), 0);
    EXPECT_EQ(camera.device.Graph(), nullptr);
    // Files that were started were also finished.
    const auto files = camera.Files();
    for (size_t i = 0; i < files.size() && i < 5; ++i) {
        const auto probed = ProbeFirstStream(camera.Path(files[i]));
        ASSERT_TRUE(probed) << files[i];
        EXPECT_EQ(probed->headerFrames, probed->readFrames) << files[i];
    }
}

}  // namespace
}  // namespace kestrova::testing
