// The virtual camera, listed as a USB camera, drives detection with its picture: levels above 0 while the
// picture moves, 0 once it stands still.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/device_messages.h"
#include "engine/usbcam/usb_camera_device.h"
#include "platform/media/device_enumerator.h"
#include "platform/media/virtual/virtual_devices.h"
#include "scripted_v4l2.h"
#include "tests/engine/device/kit/notify_recorder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait_until.h"

namespace kestrova {
namespace {

using namespace media;
using testing::Note;
using testing::NotifyRecorder;

// Collects the motion levels detection posts until they satisfy `enough`; false when they never do.
bool AwaitLevels(NotifyRecorder& notes, const std::function<bool(const std::vector<int>&)>& enough) {
    std::vector<int> levels;
    return testing::WaitUntil([&] {
        for (const Note& note : notes.Drain(kNotifyLevel)) levels.push_back(note.argument);
        return enough(levels);
    });
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
    EXPECT_TRUE(AwaitLevels(notes, [](const std::vector<int>& levels) {
        return std::any_of(levels.begin(), levels.end(), [](int level) { return level > 0; });
    }));

    // After the passes that still see the last movement, a still picture gives level 0 pass after pass.
    SetVirtualCameraMoving(false);
    constexpr size_t kStillPasses = 5;
    EXPECT_TRUE(AwaitLevels(notes, [](const std::vector<int>& levels) {
        return levels.size() >= kStillPasses &&
               std::all_of(levels.end() - kStillPasses, levels.end(), [](int level) { return level == 0; });
    }));

    SetVirtualCameraMoving(true);
    camera.Stop();
}

}  // namespace
}  // namespace kestrova
