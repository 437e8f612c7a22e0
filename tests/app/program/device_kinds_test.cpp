// The main window with devices of the real kinds: the virtual camera, a scripted V4L2 camera that is
// unplugged, and a microphone of ALSA's file plugin.
#include <gtest/gtest.h>

#include <vector>

#include "alsa_file_devices.h"
#include "app/own_windows.h"
#include "app/popup_view.h"
#include "app/windows/alarm_window.h"
#include "app/windows/devices_window.h"
#include "app/windows/new_capture_devices.h"
#include "app/windows/power_window.h"
#include "app/windows/property_window.h"
#include "engine/device_messages.h"
#include "platform/ui/listbox.h"
#include "platform/ui/windows.h"
#include "scripted_v4l2.h"
#include "tests/app/program/modal_steps.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/message_box.h"

namespace kestrova::uitest {
namespace {

constexpr int kIpCameraMarkListId = 1032;

class DeviceKindsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        SetClock(nullptr);  // the capture graphs and detection run in real time
    }
    int Count() { return int(SendMessageW(Control(kDeviceListBoxId), LB_GETCOUNT, 0, 0)); }
    Device* Selected() { return Main().GetDeviceList().GetSelected(); }
    Device* Named(const wchar_t* name) { return Main().GetDeviceList().FindByName(name); }

    // The system's cameras and microphones, for every test; they outlive the main window and its devices.
    mediatest::ScriptedV4l2 kernel;
    mediatest::AlsaFileDevices alsa;
};

mediatest::ScriptedCamera Camera(const char* card) {
    mediatest::ScriptedCamera camera;
    camera.card = card;
    camera.formats = {{V4L2_PIX_FMT_YUYV, {{640, 480}}, 30}};
    return camera;
}

TEST_F(DeviceKindsTest, AnUnpluggedCameraLeavesTheListAndOnlyItLeavesWhileTheDevicesWindowIsOpen) {
    kernel.AddCamera("/dev/video0", Camera("Porch Camera"));
    kernel.AddCamera("/dev/video1", Camera("Gate Camera"));
    OpenMainWindow();
    ASSERT_EQ(Count(), 2);
    Device* porch = Named(L"Porch Camera");
    Device* gate = Named(L"Gate Camera");
    testing::TestDevice* kept = AddDevice(kDeviceIpCamera, L"Kept", false);

    // The selected camera goes: the first item is selected.
    Main().GetDeviceList().SetSelected(porch);
    ASSERT_EQ(porch->Start(), 1);
    kernel.Unplug("/dev/video0");
    ASSERT_TRUE(WaitFor([&] { return Count() == 2; }));
    EXPECT_EQ(Named(L"Porch Camera"), nullptr);
    EXPECT_EQ(SendMessageW(Control(kDeviceListBoxId), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Selected(), Main().GetDeviceList().GetHead());

    // Another camera goes while the user has crossed a device in the devices window: that choice stays the
    // user's to confirm or cancel, and the selection stays.
    kernel.AddCamera("/dev/video2", Camera("Yard Camera"));
    AddNewUsbCameras(Main());
    Device* yard = Named(L"Yard Camera");
    yard->SetDeletedMark(0);
    Main().RefreshDeviceList();
    Main().GetDeviceList().SetSelected(yard);
    Main().RefreshDeviceList();
    ASSERT_EQ(gate->Start(), 1);
    ModalSteps steps;
    steps.In(kDevicesWindowClass, [&](HWND window) {
        Click(OnScreen(GetDlgItem(window, kIpCameraMarkListId), POINT{60, 15}));
        EXPECT_EQ(kept->GetDeletedMark(), 1);
        kernel.Unplug("/dev/video1");
        EXPECT_TRUE(WaitFor([&] { return Named(L"Gate Camera") == nullptr; }));
        EXPECT_EQ(Named(L"Kept"), kept);
        Press(window, kCancelButtonId);
    });
    Press(main, kDeviceListButtonId);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(Named(L"Kept"), kept);
    EXPECT_EQ(kept->GetDeletedMark(), 0);
    EXPECT_EQ(Selected(), yard);
}

TEST_F(DeviceKindsTest, TheVirtualCamerasMovingPictureOpensThePopupOnceAlarmIsOn) {
    ScopedEnv virtualDevices("KESTROVA_VIRTUAL_DEVICES", "1");
    OpenMainWindow();
    Device* camera = Selected();
    ASSERT_NE(camera, nullptr);
    camera->SetPreview(1);  // a popup, as the alarm window then shows and OK keeps
    camera->SetRecordVideo(0);
    camera->SetTolerance(1);
    camera->SetSensitivity(10);
    ModalSteps steps;
    steps.Close(kPowerWindowClass, kOkButtonId).Answer(kMessageOkId).Close(kAlarmWindowClass, kOkButtonId);
    Press(main, kPowerButtonId);
    EXPECT_TRUE(camera->GetState(kStatePowered));
    Press(main, kAlarmButtonId);
    ASSERT_TRUE(WaitFor([&] { return PopupWindow::Find(camera) != nullptr; }));
    EXPECT_EQ(SendMessageW(Control(kDeviceListBoxId), LB_GETITEMDATA, 0, 0), kCameraAlarmIcon);
    camera->StopDetection();
    camera->StopAlarm();
    camera->Stop();
}

TEST_F(DeviceKindsTest, AMicrophonePowersWithoutAWindowAndHasNothingToPublish) {
    alsa.Add("deskmic", "Desk Microphone", std::vector<int16_t>(11025, 0), 200);
    OpenMainWindow();
    ASSERT_EQ(AddNewMicrophones(Main()).size(), 1u);
    Device* mic = Main().GetDeviceList().GetHead();
    mic->SetDeletedMark(0);
    Main().RefreshDeviceList();
    ASSERT_EQ(Selected(), mic);

    Press(main, kPowerButtonId);
    EXPECT_TRUE(mic->GetState(kStatePowered));
    ConfirmLoopbackStreaming();
    PostMessageW(main, WM_DEVICE_NOTIFY,
                 DeviceNotifyWParam(kNotifySchedule, kScheduleStart | kStatePublished),
                 reinterpret_cast<LPARAM>(mic));
    PumpMessages();
    EXPECT_EQ(mic->GetWebIndex(), 0);
    EXPECT_NE(Main().GetStreamingSetup().settings, nullptr);  // untouched, and no server for it
    Press(main, kPowerButtonId);
    EXPECT_FALSE(mic->GetState(kStatePowered));
}

}  // namespace
}  // namespace kestrova::uitest
