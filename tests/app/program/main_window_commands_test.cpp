// The main window's buttons, sliders and list, pressed as a person would, with the real property windows
// and message boxes they open.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/app_settings.h"
#include "app/registry_values.h"
#include "app/windows/alarm_window.h"
#include "app/windows/devices_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/mask_window.h"
#include "app/windows/power_window.h"
#include "app/windows/property_window.h"
#include "app/windows/schedule_window.h"
#include "app/windows/settings_window.h"
#include "app/windows/stream_window.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/file_dialogs.h"
#include "platform/ui/windows.h"
#include "tests/app/program/modal_steps.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/button.h"
#include "toolkit/message_box.h"
#include "toolkit/slider.h"

namespace kestrova::uitest {
namespace {

constexpr int kSelectFolderId = 1048;

const std::wstring kEmptyList =
    L"Device list is empty. To add devices into the list, click on the Device List button or double click on "
    L"the device list.";
const std::wstring kPowerOn =
    L"You must power on the device. To power on the device, click on the Power button.";
const std::wstring kUnsupported = L"Not supported for this device.";
const std::wstring kScheduleQuestion =
    L"Schedule is currently running. Do you want to stop the schedule for this device?";

class MainWindowCommandsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        OpenMainWindow();
    }
    void PressButton(int id) { Press(main, id); }
    LRESULT Skin(int button) {
        return SendMessageW(Control(button), kButtonBackgroundBitmap, kPropertyRead, 0);
    }
    // Drags the pointer across the window's client points with the button held.
    static void Drag(HWND window, POINT from, POINT to, MouseButton button) {
        MoveMouse(OnScreen(window, from));
        PressMouse(button);
        MoveMouse(OnScreen(window, to));
        ReleaseMouse(button);
    }
    // Starts the device's schedule (with no hours, so that it only runs) and waits until it runs.
    void RunSchedule(Device* device) {
        device->SetScheduleMonitoring(1);
        device->StartSchedule();
        ASSERT_TRUE(WaitFor([&] { return device->GetState(kStateScheduleRunning) != 0; }));
    }
};

TEST_F(MainWindowCommandsTest, RefusalsSayWhyAndLeaveTheDeviceAsItWas) {
    const struct {
        const char* what;
        int button;
        std::wstring said;
    } noDevice[] = {
        {"power", kPowerButtonId, kEmptyList},
        {"alarm", kAlarmButtonId, kEmptyList},
        {"streaming", kStreamingButtonId, kEmptyList},
        {"masking", kMaskingButtonId, kEmptyList},
        {"scheduling", kSchedulingButtonId, kEmptyList},
        {"properties", kDevicePropertiesButtonId, kEmptyList},
    };
    for (const auto& c : noDevice) {
        SCOPED_TRACE(c.what);
        ModalSteps steps;
        steps.Answer(kMessageOkId);
        PressButton(c.button);
        EXPECT_EQ(steps.Said(), std::vector<std::wstring>{c.said});
        EXPECT_EQ(GetFocus(), Control(kDeviceListBoxId));
    }

    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", false);
    testing::TestDevice* mic = AddDevice(kDeviceMicrophone, L"Desk", true);
    const struct {
        const char* what;
        Device* device;
        int button;
        std::wstring said;
    } refused[] = {
        {"alarm, camera off", camera, kAlarmButtonId, kPowerOn},
        {"streaming, camera off", camera, kStreamingButtonId, kPowerOn},
        {"masking, camera off", camera, kMaskingButtonId, kPowerOn},
        {"properties, camera off", camera, kDevicePropertiesButtonId, kPowerOn},
        {"streaming, microphone", mic, kStreamingButtonId, kUnsupported},
        {"masking, microphone", mic, kMaskingButtonId, kUnsupported},
        {"properties, microphone", mic, kDevicePropertiesButtonId, kUnsupported},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        Main().GetDeviceList().SetSelected(c.device);
        ModalSteps steps;
        steps.Answer(kMessageOkId);
        PressButton(c.button);
        EXPECT_EQ(steps.Said(), std::vector<std::wstring>{c.said});
        EXPECT_FALSE(c.device->GetState(kStateMonitoring | kStatePublished | kStateMaskSet));
    }
    EXPECT_FALSE(camera->GetState(kStatePowered));
}

TEST_F(MainWindowCommandsTest, PowerAsksACameraForItsOptionsAndAMicrophoneForNothing) {
    testing::TestDevice* mic = AddDevice(kDeviceMicrophone, L"Desk", false);
    PressButton(kPowerButtonId);  // no window for a microphone
    EXPECT_TRUE(mic->GetState(kStatePowered));
    EXPECT_EQ(Skin(kPowerButtonId), 5632);
    PressButton(kPowerButtonId);
    EXPECT_FALSE(mic->GetState(kStatePowered));

    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", false);
    Main().GetDeviceList().SetSelected(camera);
    {
        ModalSteps steps;
        steps.Close(kPowerWindowClass, kCancelButtonId);
        PressButton(kPowerButtonId);
    }
    EXPECT_FALSE(camera->GetState(kStatePowered));
    {
        ModalSteps steps;
        steps.In(kPowerWindowClass, [](HWND window) {
            Press(window, 1041);  // 320 x 240
            Press(window, kOkButtonId);
        });
        PressButton(kPowerButtonId);
    }
    EXPECT_TRUE(camera->GetState(kStatePowered));
    EXPECT_EQ(camera->GetFrameSize(), 1);

    // A running schedule is stopped only when the user agrees.
    RunSchedule(camera);
    {
        ModalSteps steps;
        steps.Answer(kMessageNoId);
        PressButton(kPowerButtonId);
        EXPECT_EQ(steps.Said(), std::vector<std::wstring>{kScheduleQuestion});
    }
    EXPECT_TRUE(camera->GetState(kStatePowered));
    EXPECT_TRUE(camera->GetState(kStateScheduleRunning));
    {
        ModalSteps steps;
        steps.Answer(kMessageYesId);
        PressButton(kPowerButtonId);
    }
    EXPECT_FALSE(camera->GetState(kStatePowered));
    EXPECT_TRUE(WaitFor([&] { return !camera->GetState(kStateScheduleRunning); }));
}

TEST_F(MainWindowCommandsTest, AlarmTurnsMonitoringOnThroughItsWindowAndOffWithoutOne) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    // Values the window shows and OK writes back as they were.
    camera->SetPreview(1);
    camera->SetPreviewKind(1);
    camera->SetRecordVideo(0);
    camera->SetRunFilePath(L"/usr/bin/true");
    camera->SetSmtpServer(L"mail.example");
    camera->SetSmtpPort(2525);
    camera->SetEmailRecipient(L"ward@example");
    {
        ModalSteps steps;
        steps.Answer(kMessageOkId, /*dontShowAgain=*/true).In(kAlarmWindowClass, [](HWND window) {
            Press(window, kOkButtonId);
        });
        PressButton(kAlarmButtonId);
        ASSERT_EQ(steps.Said().size(), 1u);
        EXPECT_NE(steps.Said()[0].find(L"select Open Storage Folder."), std::wstring::npos);
    }
    EXPECT_TRUE(WaitFor([&] { return camera->GetState(kStateMonitoring) != 0; }));
    EXPECT_TRUE(WaitFor([&] { return Skin(kAlarmButtonId) == 5634; })) << Skin(kAlarmButtonId);
    wchar_t text[1001] = {};
    camera->GetRunFilePath(text, 1000);
    EXPECT_STREQ(text, L"/usr/bin/true");
    camera->GetSmtpServer(text, 50);
    EXPECT_STREQ(text, L"mail.example");
    camera->GetEmailRecipient(text, 50);
    EXPECT_STREQ(text, L"ward@example");
    EXPECT_EQ((std::vector<int>{camera->GetPreview(), camera->GetPreviewKind(), camera->GetRecordVideo(),
                                camera->GetSmtpPort()}),
              (std::vector<int>{1, 1, 0, 2525}));
    EXPECT_EQ(ReadHintFlag(kStorageHint), 0);

    PressButton(kAlarmButtonId);  // monitoring: off at once
    EXPECT_FALSE(camera->GetState(kStateMonitoring));
    EXPECT_EQ(Skin(kAlarmButtonId), 5635);

    // The hint stays away once ticked; Cancel changes nothing.
    {
        ModalSteps steps;
        steps.Close(kAlarmWindowClass, kCancelButtonId);
        PressButton(kAlarmButtonId);
        EXPECT_TRUE(steps.Said().empty());
    }
    EXPECT_FALSE(camera->GetState(kStateMonitoring));
}

TEST_F(MainWindowCommandsTest, MaskingShowsAGreyStillWithoutAFrameAndTheMaskBitFollowsTheCells) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    COLORREF still = CLR_INVALID;
    {
        ModalSteps steps;
        steps.Answer(kMessageOkId).In(kMaskWindowClass, [&](HWND window) {
            still = ReadPixel(window, 43 + 60, 280 + 45);
            Drag(window, POINT{43 + 5, 280 + 5}, POINT{43 + 30, 280 + 20}, MouseButton::Left);
            Press(window, kOkButtonId);
        });
        PressButton(kMaskingButtonId);
        ASSERT_EQ(steps.Said().size(), 1u);
        EXPECT_EQ(steps.Said()[0].rfind(L"Masking is more effective", 0), 0u);
    }
    EXPECT_EQ(still, RGB(217, 217, 219));
    EXPECT_TRUE(camera->GetState(kStateMaskSet));
    EXPECT_EQ(Skin(kMaskingButtonId), 5638);
    EXPECT_EQ(ReadHintFlag(kMaskingHint), 1);  // not ticked: shown again
    {
        ModalSteps steps;
        steps.Answer(kMessageOkId).In(kMaskWindowClass, [&](HWND window) {
            Drag(window, POINT{43 + 5, 280 + 5}, POINT{43 + 30, 280 + 20}, MouseButton::Right);
            Press(window, kOkButtonId);
        });
        PressButton(kMaskingButtonId);
    }
    EXPECT_FALSE(camera->GetState(kStateMaskSet));
    EXPECT_EQ(Skin(kMaskingButtonId), 5639);

    camera->SetFrameSize(3);  // neither size the window knows
    {
        ModalSteps steps;
        steps.Answer(kMessageOkId).Answer(kMessageOkId);
        PressButton(kMaskingButtonId);
        EXPECT_EQ(steps.Said().back(), L"An error occurred.");
    }
}

TEST_F(MainWindowCommandsTest, SchedulingStartsTheScheduleAfterOkAndStopsARunningOneAtOnce) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", false);
    WeekGrid grid{};
    grid[WeekGridWord(0, 9)] = 0xF;
    camera->SetSchedule(&grid);
    camera->SetScheduleMonitoring(1);
    {
        ModalSteps steps;
        steps.Close(kScheduleWindowClass, kOkButtonId);
        PressButton(kSchedulingButtonId);
    }
    EXPECT_TRUE(WaitFor([&] { return camera->GetState(kStateScheduleRunning) != 0; }));
    EXPECT_TRUE(WaitFor([&] { return Skin(kSchedulingButtonId) == 5640; })) << Skin(kSchedulingButtonId);
    PressButton(kSchedulingButtonId);  // no question, no window
    EXPECT_TRUE(WaitFor([&] { return !camera->GetState(kStateScheduleRunning); }));
    EXPECT_TRUE(WaitFor([&] { return Skin(kSchedulingButtonId) == 5641; })) << Skin(kSchedulingButtonId);
}

TEST_F(MainWindowCommandsTest, StreamingPublishesAfterTheWindowAndUnpublishesWithoutIt) {
    testing::TestDevice* porch = AddDevice(kDeviceUsbCamera, L"Porch", true);
    testing::TestDevice* gate = AddDevice(kDeviceIpCamera, L"Gate", true);
    ConfirmLoopbackStreaming();  // as a first OK left them, so that the window offers the loopback address
    const int32_t port = Main().GetStreamingSetup().settings->port;
    for (Device* device : std::initializer_list<Device*>{porch, gate}) {
        Main().GetDeviceList().SetSelected(device);
        ModalSteps steps;
        if (device == porch) steps.Answer(kMessageOkId, /*dontShowAgain=*/true);
        steps.Close(kStreamWindowClass, kOkButtonId);
        PressButton(kStreamingButtonId);
    }
    EXPECT_EQ(ReadHintFlag(kStreamingHint), 0);
    EXPECT_EQ(gate->GetWebIndex(), 1);
    EXPECT_EQ(porch->GetWebIndex(), 2);
    EXPECT_EQ(Main().GetStreamingSetup().settings->port, port);
    ASSERT_TRUE(WaitFor([&] { return gate->GetState(kStatePublished) && porch->GetState(kStatePublished); }));

    PressButton(kStreamingButtonId);  // Gate, published: no window
    EXPECT_EQ(gate->GetWebIndex(), 0);
    EXPECT_EQ(porch->GetWebIndex(), 1);
    EXPECT_TRUE(
        WaitFor([&] { return !gate->GetState(kStatePublished) && porch->GetState(kStatePublished); }));
    Main().GetDeviceList().SetSelected(porch);
    PressButton(kStreamingButtonId);
    EXPECT_FALSE(Main().IsStreaming());
    EXPECT_EQ(Main().GetStreamingSetup().settings, nullptr);

    // Asked again, and cancelled: nothing is published.
    {
        ModalSteps steps;
        steps.Close(kStreamWindowClass, kCancelButtonId);
        PressButton(kStreamingButtonId);
    }
    EXPECT_EQ(porch->GetWebIndex(), 0);
    EXPECT_FALSE(Main().IsStreaming());
}

TEST_F(MainWindowCommandsTest, AWindowsResultIsNotAppliedToADeviceThatWentMeanwhile) {
    bool destroyed = false;
    auto* camera = new testing::TestDevice(kDeviceUsbCamera, L"Porch", &destroyed);
    camera->SetNotifyWindow(main);
    Main().GetDeviceList().Add(camera);
    Main().RefreshDeviceList();
    ModalSteps steps;
    steps.In(kPowerWindowClass, [&](HWND window) {
        camera->SetDeletedMark(1);  // as a lost device is removed while the window is open
        Main().RefreshDeviceList();
        Press(window, 1041);
        Press(window, kOkButtonId);
    });
    PressButton(kPowerButtonId);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Main().GetDeviceList().GetHead(), nullptr);
}

TEST_F(MainWindowCommandsTest, SlidersDisplayAndSettingsReachTheSelectedDeviceAndTheSettings) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", false);
    HWND tolerance = Control(kToleranceSliderId);
    RECT r;
    GetClientRect(tolerance, &r);
    Drag(tolerance, POINT{10, r.bottom / 2}, POINT{r.right - 4, r.bottom / 2}, MouseButton::Left);
    EXPECT_EQ(camera->GetTolerance(), 10);
    HWND sensitivity = Control(kSensitivitySliderId);
    Drag(sensitivity, POINT{r.right - 4, r.bottom / 2}, POINT{4, r.bottom / 2}, MouseButton::Left);
    EXPECT_EQ(camera->GetSensitivity(), 0);

    {
        ModalSteps steps;
        steps.In(kDisplayPropWindowClass, [](HWND window) {
            Press(window, 1039);  // 9
            Press(window, kOkButtonId);
        });
        PressButton(kDisplayPropertiesButtonId);
    }
    EXPECT_EQ(Main().GetSettings().videoStreamsPerDisplay, 9);

    // OK saves the settings; the answer to close for a new storage folder closes the program.
    {
        ModalSteps steps;
        steps.Close(kSettingsWindowClass, kOkButtonId);
        PressButton(kSettingsButtonId);
    }
    EXPECT_TRUE(FileExists(AppSettings::FilePath()));
    EXPECT_TRUE(IsWindow(main));

    const std::wstring chosen = tmp.path() + L"New place";
    ASSERT_TRUE(CreateFolderTree(chosen));
    const FolderBrowserHook previous = SetFolderBrowserHook([&](const BROWSEINFOW&) { return chosen; });
    {
        ModalSteps steps;
        steps.In(kSettingsWindowClass, [](HWND window) { Press(window, kSelectFolderId); })
            .Answer(kMessageYesId);  // close the program now
        PressButton(kSettingsButtonId);
    }
    SetFolderBrowserHook(previous);
    EXPECT_TRUE(PumpMessages().quit);
    EXPECT_FALSE(IsWindow(main));
    std::ifstream saved(ToUtf8(AppSettings::FilePath()));
    const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("New place/"), std::string::npos) << text;
}

}  // namespace
}  // namespace kestrova::uitest
