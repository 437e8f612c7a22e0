// The detection worker on a test device, its 200 ms rhythm driven by the stepping clock.
#include <gtest/gtest.h>

#include <vector>

#include "engine/device_messages.h"
#include "tests/engine/device/kit/note_sorter.h"
#include "tests/engine/device/kit/stepping_clock.h"
#include "tests/engine/device/kit/test_device.h"

namespace kestrova::testing {
namespace {

struct Monitored {
    SteppingClock clock;
    NotifyRecorder recorder;
    NoteSorter notes{recorder};
    TestDevice device;

    explicit Monitored(int32_t type = kDeviceUsbCamera) : device(type) {
        device.SetNotifyWindow(recorder.window());
        device.SetRecordAudio(0);  // a microphone's recording graph is not what these tests look at
    }
    // Starts and waits for the worker's first pass.
    void Start() {
        ASSERT_EQ(device.StartDetection(), 1);
        ASSERT_TRUE(clock.AwaitWaits(1));
    }
    void Pass() { ASSERT_TRUE(clock.Step(200)); }
    std::vector<int> Levels() { return notes.Take(kNotifyLevel); }
    std::vector<int> States() { return notes.Take(kNotifyState); }
};

TEST(DetectionWorkerTest, CameraPostsTheMotionLevelOfEachPassAfterTheFirst) {
    Monitored m;
    m.device.PutFrame(320, 240, 100, 100, 100);
    m.Start();
    EXPECT_EQ(m.device.StartDetection(), 1);  // runs already
    EXPECT_TRUE(m.Levels().empty());          // the first pass only takes the reference
    EXPECT_EQ(m.States(), std::vector<int>{kStateMonitoring});
    EXPECT_EQ(m.device.GetState(kStateMonitoring), 1);

    m.device.PutFrame(320, 240, 120, 120, 120);
    m.Pass();
    EXPECT_EQ(m.Levels(), std::vector<int>{10});
    m.Pass();  // the same frame again
    EXPECT_EQ(m.Levels(), std::vector<int>{0});

    EXPECT_EQ(m.device.StopDetection(), 1);
    EXPECT_EQ(m.device.GetState(kStateMonitoring), 0);
    EXPECT_EQ(m.States(), std::vector<int>{kStateMonitoring});
    EXPECT_EQ(m.device.StopDetection(), 1);  // nothing runs
}

TEST(DetectionWorkerTest, PassesWithoutAUsableFrameOrAfterASizeChangePostNothing) {
    Monitored m;
    m.Start();  // no frame yet
    m.device.PutFrame(480, 360, 10, 10, 10);
    m.Pass();
    m.device.PutFrame(480, 360, 200, 200, 200);
    m.Pass();
    EXPECT_TRUE(m.Levels().empty());

    m.device.PutFrame(320, 240, 10, 10, 10);
    m.Pass();  // becomes the reference
    m.device.PutFrame(640, 480, 200, 200, 200);
    m.Pass();  // another size: a new reference, no level
    EXPECT_TRUE(m.Levels().empty());
    m.Pass();
    EXPECT_EQ(m.Levels(), std::vector<int>{0});
}

TEST(DetectionWorkerTest, MicrophonePostsItsSoundLevelEveryPass) {
    Monitored m(kDeviceMicrophone);
    m.device.SetSoundLevel(7);
    m.Start();
    EXPECT_EQ(m.Levels(), std::vector<int>{7});
    m.device.SetSoundLevel(3);
    m.Pass();
    EXPECT_EQ(m.Levels(), std::vector<int>{3});
    m.device.StopDetection();
    EXPECT_EQ(m.States(), (std::vector<int>{kStateMonitoring, kStateMonitoring}));  // set, then cleared
}

}  // namespace
}  // namespace kestrova::testing
