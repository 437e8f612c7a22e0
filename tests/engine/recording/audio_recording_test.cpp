#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/base/clock.h"
#include "platform/media/filter_classes.h"
#include "platform/media/virtual/virtual_microphone.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/engine/device/kit/stepping_clock.h"
#include "tests/engine/recording/recording_device.h"
#include "tests/platform/media/support/probe.h"
#include "tests/support/temp_folder.h"

namespace kestrova::testing {
namespace {

using namespace media;

// A microphone with the virtual microphone as its recording capture filter.
struct Microphone {
    TempFolder storage;
    NotifyRecorder notes;
    RecordingDevice device{kDeviceMicrophone};
    std::shared_ptr<IBaseFilter> capture = std::make_shared<VirtualMicrophone>();

    explicit Microphone(bool withCapture = true) {
        device.SetStorageFolder(storage.path());
        device.SetNotifyWindow(notes.window());
        if (withCapture) device.HoldRecordingCapture(capture);
    }
    std::vector<std::string> Files() { return RecordedFiles(storage.path(), L"Audio/"); }
    std::string Path(const std::string& file) { return storage.native() + "Audio/" + file; }
};

TEST(AudioRecording, TheWavFileHasTheMicrophonesFormatAndAHeaderThatFitsIt) {
    SteppingClock clock;  // the microphone delivers a buffer a step
    Microphone mic;
    ASSERT_EQ(mic.device.BuildAudioGraph(1), 1);
    EXPECT_TRUE(mic.device.HasFilter(L"Audio Capture"));
    EXPECT_TRUE(mic.device.HasFilter(L"WavDest"));
    EXPECT_TRUE(mic.device.HasFilter(L"File Writer"));
    ASSERT_EQ(mic.device.RecordAudio(1), 1);
    EXPECT_EQ(mic.device.GetState(kStateRecording), 1);
    ASSERT_TRUE(clock.AwaitWaits(1));
    for (int buffer = 1; buffer < 4; ++buffer) ASSERT_TRUE(clock.Step(100));
    ASSERT_EQ(mic.device.RecordAudio(0), 1);

    const auto files = mic.Files();
    ASSERT_EQ(files.size(), 1u);
    // The capture pin keeps its own format: the virtual microphone's first, 44,100 Hz stereo.
    const auto probed = mediatest::ProbeFirstStream(mic.Path(files[0]));
    ASSERT_TRUE(probed);
    EXPECT_EQ(probed->codecName, "pcm_s16le");
    EXPECT_EQ(probed->sampleRate, 44100);
    EXPECT_EQ(probed->channels, 2);
    const auto sizes = mediatest::ReadWavSizes(mic.Path(files[0]));
    ASSERT_TRUE(sizes);
    EXPECT_EQ(sizes->dataSize, 4u * 4410 * 4) << "four whole buffers of a tenth of a second";
    EXPECT_EQ(sizes->dataOffset + sizes->dataSize, sizes->fileBytes);
    EXPECT_EQ(sizes->riffSize, sizes->fileBytes - 8);
}

class AudioRecordingFiles : public ::testing::Test {
protected:
    AudioRecordingFiles() { SetClock(&clock_); }
    ~AudioRecordingFiles() override { SetClock(nullptr); }
    TestClock clock_;
};

TEST_F(AudioRecordingFiles, AlarmsInOneSecondAndATeardownBetweenThemWriteNumberedFiles) {
    Microphone mic;
    ASSERT_EQ(mic.device.BuildAudioGraph(1), 1);
    ASSERT_EQ(mic.device.RecordAudio(1), 1);
    ASSERT_EQ(mic.device.RecordAudio(0), 1);
    ASSERT_EQ(mic.device.RecordAudio(1), 1);
    mic.notes.Drain();

    // Detection ends while the second alarm records.
    EXPECT_EQ(mic.device.BuildAudioGraph(0), 1);
    EXPECT_EQ(mic.device.GetState(kStateRecording), 0);
    EXPECT_EQ(mic.notes.Drain(), (std::vector<Note>{{kNotifyState, kStateRecording, &mic.device}}));
    EXPECT_EQ(mic.device.RecordAudio(0), 1);
    EXPECT_TRUE(mic.notes.Drain().empty());

    // Detection starts again: the capture filter is still there, and the next alarm gets a new file.
    ASSERT_EQ(mic.device.BuildAudioGraph(1), 1);
    ASSERT_EQ(mic.device.RecordAudio(1), 1);
    ASSERT_EQ(mic.device.RecordVideo(0), 1) << "either recorder stops the device's one recording graph";
    EXPECT_EQ(mic.Files(), (std::vector<std::string>{"26-01-05/26-01-05 00-00-00 000.wav",
                                                     "26-01-05/26-01-05 00-00-00 001.wav",
                                                     "26-01-05/26-01-05 00-00-00 002.wav"}));
    for (const std::string& file : mic.Files()) {
        const auto sizes = mediatest::ReadWavSizes(mic.Path(file));
        ASSERT_TRUE(sizes) << file;
        EXPECT_EQ(sizes->riffSize, sizes->fileBytes - 8) << file;
    }
}

TEST_F(AudioRecordingFiles, WithoutACaptureFilterOrAWavWriterThereIsNoGraph) {
    Microphone noCapture(false);
    EXPECT_EQ(noCapture.device.BuildAudioGraph(1), 0);
    EXPECT_EQ(noCapture.device.Graph(), nullptr);
    EXPECT_EQ(noCapture.device.RecordAudio(1), 0);

    const FilterFactory saved = RegisterFilterClass(CLSID_WavDest, nullptr);
    Microphone noWriter;
    EXPECT_EQ(noWriter.device.BuildAudioGraph(1), 0);
    EXPECT_EQ(noWriter.device.RecordAudio(1), 0);
    RegisterFilterClass(CLSID_WavDest, saved);
    EXPECT_EQ(noWriter.capture->Graph(), nullptr) << "the capture filter left the failed graph";
    EXPECT_EQ(noWriter.device.BuildAudioGraph(1), 1) << "and serves the next build";
    EXPECT_TRUE(noWriter.Files().empty());
}

}  // namespace
}  // namespace kestrova::testing
