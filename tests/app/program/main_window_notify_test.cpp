// The main window's reactions to what devices post: state bits on the buttons and list icons, detection
// levels that trigger alarms, the live views an alarm opens, and the schedule's starts and stops.
#include <gtest/gtest.h>

#include "app/fullscreen_view.h"
#include "app/own_windows.h"
#include "app/popup_view.h"
#include "engine/device_messages.h"
#include "platform/ui/listbox.h"
#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/button.h"
#include "toolkit/slider.h"

namespace kestrova::uitest {
namespace {

class MainWindowNotifyTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        OpenMainWindow();
        // Gate is listed first and Porch stays selected, as the first device added.
        porch = AddDevice(kDeviceUsbCamera, L"Porch", true);
        gate = AddDevice(kDeviceIpCamera, L"Gate", true);
        ASSERT_EQ(Main().GetDeviceList().GetSelected(), porch);
    }

    void Post(Device* device, uint16_t kind, uint16_t argument) {
        PostMessageW(main, WM_DEVICE_NOTIFY, DeviceNotifyWParam(kind, argument),
                     reinterpret_cast<LPARAM>(device));
        PumpMessages();
    }
    LRESULT Skin(int button) {
        return SendMessageW(Control(button), kButtonBackgroundBitmap, kPropertyRead, 0);
    }
    LRESULT LevelMark() { return SendMessageW(Control(kToleranceSliderId), kSliderLevel, kPropertyRead, 0); }
    LRESULT Icon(int item) { return SendMessageW(Control(kDeviceListBoxId), LB_GETITEMDATA, item, 0); }

    // Whether the device's alarm ran: its thread announces the alarm bit before anything else, so once the
    // alarm is stopped (and its thread joined) the announcement is queued if it ran at all.
    bool AlarmRan(Device* device) {
        device->StopAlarm();
        bool ran = false;
        MSG msg;
        while (PeekMessageW(&msg, main, WM_DEVICE_NOTIFY, WM_DEVICE_NOTIFY, PM_REMOVE)) {
            ran = ran || (msg.lParam == reinterpret_cast<LPARAM>(device) &&
                          LOWORD(msg.wParam) == kNotifyState && HIWORD(msg.wParam) == kStateAlarm);
        }
        return ran;
    }

    testing::TestDevice* porch = nullptr;
    testing::TestDevice* gate = nullptr;
};

TEST_F(MainWindowNotifyTest, ALevelFromTheToleranceUpTriggersTheAlarmAndMarksOnlyTheSelectedDevice) {
    const struct {
        const char* what;
        bool selected;
        int tolerance, level;
        bool triggers;
    } cases[] = {
        {"equal to the tolerance", true, 5, 5, true},
        {"below it", true, 5, 4, false},
        {"zero, even at tolerance zero", true, 0, 0, false},
        {"above it", true, 0, 1, true},
        {"another device's", false, 3, 7, true},
        {"another device's, below", false, 3, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Device* device = c.selected ? static_cast<Device*>(porch) : gate;
        device->SetTolerance(c.tolerance);
        Post(porch, kNotifyLevel,
             9);  // the selected device's mark, which another device's level leaves alone
        AlarmRan(porch);
        Post(device, kNotifyLevel, uint16_t(c.level));
        EXPECT_EQ(LevelMark(), c.selected ? c.level : 9);
        EXPECT_EQ(AlarmRan(device), c.triggers);
    }
}

TEST_F(MainWindowNotifyTest, EachStateBitShowsOnItsButtonForTheSelectedDeviceAlone) {
    const struct {
        int32_t bit;
        int button;
    } cases[] = {{kStateMonitoring, kAlarmButtonId},
                 {kStatePublished, kStreamingButtonId},
                 {kStateMaskSet, kMaskingButtonId},
                 {kStateScheduleRunning, kSchedulingButtonId},
                 {kStatePowered, kPowerButtonId}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bit);
        const int off = int(Skin(c.button));
        gate->SetState(c.bit, gate->GetState(c.bit) ? 0 : 1);
        PumpMessages();
        EXPECT_EQ(Skin(c.button), off);  // not the selected device
        const bool on = !porch->GetState(c.bit);
        porch->SetState(c.bit, on);
        PumpMessages();
        EXPECT_EQ(Skin(c.button), off + (on ? -1 : 1));
    }
    // Powered off: the mark goes to 0 and the item shows the off icon.
    EXPECT_EQ(Icon(1), kCameraOffIcon);
    EXPECT_EQ(LevelMark(), 0);

    // An argument of several bits changes nothing.
    porch->SetState(kStatePowered | kStateMonitoring, 1);
    PumpMessages();
    EXPECT_EQ(Skin(kPowerButtonId), 5633);
    EXPECT_EQ(Icon(1), kCameraOffIcon);
    // Nor does a device that is gone.
    Post(nullptr, kNotifyState, kStatePowered);
    EXPECT_EQ(Skin(kPowerButtonId), 5633);
}

TEST_F(MainWindowNotifyTest, AnAlarmOpensTheChosenViewWhenPreviewIsOnAndAlwaysShowsTheAlarmIcon) {
    const struct {
        const char* what;
        int preview, kind;
        size_t popups, fullscreens;
    } cases[] = {
        {"preview off", 0, 0, 0, 0},
        {"popup", 1, 0, 1, 0},
        {"fullscreen", 1, 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        gate->SetPreview(c.preview);  // not the selected device: the view opens all the same
        gate->SetPreviewKind(c.kind);
        gate->SetState(kStateAlarm, 1);
        PumpMessages();
        EXPECT_EQ(Icon(0), kCameraAlarmIcon);
        EXPECT_EQ(OwnWindowsOfClass(kPopupWindowClass).size(), c.popups);
        EXPECT_EQ(OwnWindowsOfClass(kFullscreenWindowClass).size(), c.fullscreens);
        gate->SetState(kStateAlarm, 0);
        PumpMessages();
        EXPECT_EQ(Icon(0), kCameraPoweredIcon);
        DestroyOwnWindowsOfClass(kPopupWindowClass);
        DestroyOwnWindowsOfClass(kFullscreenWindowClass);
    }
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), porch);
}

TEST_F(MainWindowNotifyTest, ItemsAreFoundByTheirDeviceWhenNamesDifferOnlyInCase) {
    testing::TestDevice* upper = AddDevice(kDeviceUsbCamera, L"PORCH", false);
    HWND list = Control(kDeviceListBoxId);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    // Items: PORCH (newest), Gate, Porch.
    upper->Start();
    PumpMessages();
    EXPECT_EQ(Icon(0), kCameraPoweredIcon);
    porch->Stop();
    PumpMessages();
    EXPECT_EQ(Icon(2), kCameraOffIcon);
    EXPECT_EQ(Icon(0), kCameraPoweredIcon);
    Click(OnScreen(list, POINT{100, 16}));
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), upper);
    Click(OnScreen(list, POINT{100, 2 * 33 + 16}));
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), porch);
    // A refresh keeps the selected device, not the first of its name.
    Main().RefreshDeviceList();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(MainWindowNotifyTest, AScheduledStartRunsTheActionAndTheStopUndoesIt) {
    ConfirmLoopbackStreaming();
    gate->Stop();
    PumpMessages();

    Post(gate, kNotifySchedule, kScheduleStart | kStateMonitoring);
    EXPECT_TRUE(gate->GetState(kStatePowered));
    EXPECT_TRUE(WaitFor([&] { return gate->GetState(kStateMonitoring) != 0; }));  // once detection runs
    Post(gate, kNotifySchedule, kStateMonitoring);
    EXPECT_FALSE(gate->GetState(kStatePowered));
    EXPECT_FALSE(gate->GetState(kStateMonitoring));

    Post(gate, kNotifySchedule, kScheduleStart | kStatePublished);
    EXPECT_TRUE(gate->GetState(kStatePowered));
    EXPECT_EQ(gate->GetWebIndex(), 1);
    EXPECT_TRUE(WaitFor([&] { return gate->GetState(kStatePublished) != 0; }));  // the server listens
    Post(gate, kNotifySchedule, kStatePublished);
    EXPECT_EQ(gate->GetWebIndex(), 0);
    EXPECT_FALSE(gate->GetState(kStatePowered));
    EXPECT_FALSE(Main().IsStreaming());
    EXPECT_EQ(Main().GetStreamingSetup().settings, nullptr);  // the Streaming button asks again

    // The schedule's next hours publish again with the settings confirmed last.
    Post(gate, kNotifySchedule, kScheduleStart | kStatePublished);
    EXPECT_EQ(gate->GetWebIndex(), 1);
    EXPECT_TRUE(Main().IsStreaming());
    EXPECT_TRUE(WaitFor([&] { return gate->GetState(kStatePublished) != 0; }));

    // A microphone has nothing to publish.
    testing::TestDevice* mic = AddDevice(kDeviceMicrophone, L"Desk", false);
    Post(mic, kNotifySchedule, kScheduleStart | kStatePublished);
    EXPECT_FALSE(mic->GetState(kStatePowered));
    EXPECT_EQ(mic->GetWebIndex(), 0);
    EXPECT_EQ(gate->GetWebIndex(), 1);
}

TEST_F(MainWindowNotifyTest, TheServerNumbersThePublishedDevicesDownTheListAndStopsWithTheLast) {
    ConfirmLoopbackStreaming();
    porch->SetWebIndex(-1);
    Main().RestartStreamingServer();
    gate->SetWebIndex(-1);
    Main().RestartStreamingServer();
    EXPECT_EQ(gate->GetWebIndex(), 1);  // the newest device first
    EXPECT_EQ(porch->GetWebIndex(), 2);
    EXPECT_EQ(Main().GetStreamingSetup().settings->publishedCount, 2);
    EXPECT_TRUE(WaitFor([&] { return gate->GetState(kStatePublished) && porch->GetState(kStatePublished); }));
    EXPECT_TRUE(WaitFor([&] { return Skin(kStreamingButtonId) == 5636; })) << Skin(kStreamingButtonId);

    // A published device that leaves the list takes its pages with it.
    gate->SetDeletedMark(1);
    Main().RefreshDeviceList();
    EXPECT_EQ(porch->GetWebIndex(), 1);
    EXPECT_EQ(Main().GetStreamingSetup().settings->publishedCount, 1);
    EXPECT_TRUE(WaitFor([&] { return porch->GetState(kStatePublished) != 0; }));

    porch->SetWebIndex(0);
    Main().RestartStreamingServer();
    EXPECT_FALSE(Main().IsStreaming());
    EXPECT_EQ(Main().GetStreamingSetup().settings, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !porch->GetState(kStatePublished); }));
    EXPECT_TRUE(WaitFor([&] { return Skin(kStreamingButtonId) == 5637; })) << Skin(kStreamingButtonId);
}

}  // namespace
}  // namespace kestrova::uitest
