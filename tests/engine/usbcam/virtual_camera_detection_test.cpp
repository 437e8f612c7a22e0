// The virtual camera, listed as a USB camera, drives detection with its picture: levels above 0 while the
// picture moves, 0 once it stands still.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/device_messages.h"
#include "engine/usbcam/usb_camera_device.h"
#include "platform/media/device_enumerator.h"
#include "platform/media/virtual/virtual_devices.h"
#include "scripted_v4l2.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

using namespace media;
using testing::Note;
using testing::NotifyRecorder;

// The motion levels posted while detection watches for `span`.
std::vector<int> LevelsOver(NotifyRecorder& notes, std::chrono::milliseconds span) {
    std::vector<int> levels;
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
        for (const Note& note : notes.Drain(kNotifyLevel)) levels.push_back(note.argument);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return levels;
}

TEST(VirtualCameraDetection, MovingPictureGivesLevelsAndAStillOneNone) {
    ScopedEnv listed("KESTROVA_VIRTUAL_DEVICES", "1");
    mediatest::ScriptedV4l2 noRealCameras;
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    enumerator.CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers);
    ASSERT_EQ(monikers.size(), 1u);

    NotifyRecorder notes;
    TempFolder storage;
    UsbCameraParams params;
    monikers[0]->BindToObject(&params.captureFilter);
    params.frameSize = 1;
    params.notifyWindow = notes.window();
    std::wcsncpy(params.storageFolder, storage.path().c_str(), 1023);
    UsbCameraDevice camera;
    camera.Init(&params);
    camera.SetRecordVideo(0);

    SetVirtualCameraMoving(true);
    ASSERT_EQ(camera.Start(), 1);
    ASSERT_EQ(camera.StartDetection(), 1);
    const std::vector<int> moving = LevelsOver(notes, std::chrono::milliseconds(1200));
    ASSERT_FALSE(moving.empty());
    EXPECT_GT(*std::max_element(moving.begin(), moving.end()), 0);

    SetVirtualCameraMoving(false);
    LevelsOver(notes, std::chrono::milliseconds(450));  // the passes that still see the last movement
    const std::vector<int> still = LevelsOver(notes, std::chrono::milliseconds(800));
    ASSERT_FALSE(still.empty());
    EXPECT_EQ(*std::max_element(still.begin(), still.end()), 0);

    SetVirtualCameraMoving(true);
    camera.Stop();
}

}  // namespace
}  // namespace kestrova
