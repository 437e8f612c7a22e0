// Detection builds the recording graph, the alarm records into it, and the end of detection tears it down,
// also under a running recording.
#include <gtest/gtest.h>

#include "platform/base/clock.h"
#include "platform/media/virtual/virtual_microphone.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/engine/recording/recording_device.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace kestrova::testing {
namespace {

// The clock stands still: workers wait until they are stopped, and file names are those of its start.
class AlarmRecording : public ::testing::Test {
protected:
    AlarmRecording() { SetClock(&clock_); }
    ~AlarmRecording() override { SetClock(nullptr); }

    // Waits (in real time) until the alarm thread has started the recording.
    static bool AwaitRecording(Device& device) {
        return WaitUntil([&] { return device.GetState(kStateRecording) == 1; });
    }

    TestClock clock_;
    TempFolder storage_;
    NotifyRecorder notes_;
};

TEST_F(AlarmRecording, CameraAlarmRecordsIntoTheGraphThatDetectionBuiltAndStops) {
    RecordingDevice camera;
    camera.SetStorageFolder(storage_.path());
    camera.SetNotifyWindow(notes_.window());
    camera.SetRecordVideo(1);
    camera.SetSavePhotos(0);
    camera.SetPlaySound(0);
    camera.PutFrame(640, 480, 30, 60, 90);

    ASSERT_EQ(camera.StartDetection(), 1);
    EXPECT_NE(camera.Graph(), nullptr);
    ASSERT_EQ(camera.TriggerAlarm(), 1);
    ASSERT_TRUE(AwaitRecording(camera));
    EXPECT_EQ(camera.StopAlarm(), 1);
    EXPECT_EQ(camera.GetState(kStateRecording), 0);
    EXPECT_EQ(RecordedFiles(storage_.path(), L"Videos/"),
              std::vector<std::string>{"26-01-05/26-01-05 00-00-00 000.avi"});

    EXPECT_NE(camera.Graph(), nullptr);  // detection still runs
    EXPECT_EQ(camera.StopDetection(), 1);
    EXPECT_EQ(camera.Graph(), nullptr);
}

TEST_F(AlarmRecording, StoppingMicrophoneDetectionUnderAnAlarmEndsItsRecordingAndTheNextAlarmRecordsAnew) {
    RecordingDevice mic(kDeviceMicrophone);
    mic.SetStorageFolder(storage_.path());
    mic.SetNotifyWindow(notes_.window());
    mic.SetPlaySound(0);
    mic.HoldRecordingCapture(std::make_shared<media::VirtualMicrophone>());

    ASSERT_EQ(mic.StartDetection(), 1);
    ASSERT_EQ(mic.TriggerAlarm(), 1);
    ASSERT_TRUE(AwaitRecording(mic));
    EXPECT_EQ(mic.StopDetection(), 1);
    EXPECT_EQ(mic.Graph(), nullptr);
    EXPECT_EQ(mic.GetState(kStateRecording), 0);
    EXPECT_EQ(mic.StopAlarm(), 1);  // its own stop of the recording finds nothing to do

    ASSERT_EQ(mic.StartDetection(), 1);
    ASSERT_EQ(mic.TriggerAlarm(), 1);
    ASSERT_TRUE(AwaitRecording(mic));
    EXPECT_EQ(mic.StopAlarm(), 1);
    EXPECT_EQ(RecordedFiles(storage_.path(), L"Audio/"),
              (std::vector<std::string>{"26-01-05/26-01-05 00-00-00 000.wav",
                                        "26-01-05/26-01-05 00-00-00 001.wav"}));
}

}  // namespace
}  // namespace kestrova::testing
