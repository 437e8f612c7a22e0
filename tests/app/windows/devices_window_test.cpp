#include "app/windows/devices_window.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/windows/dev_ip_window.h"
#include "app/windows/device_mark_list.h"
#include "app/windows/property_window.h"
#include "engine/device_settings.h"
#include "engine/device.h"
#include "engine/ipcam/ip_camera_device.h"
#include "platform/ui/listbox.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/windows.h"
#include "tests/app/windows/property_window_fixture.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {
namespace {

constexpr int kOkId = 1027, kCancelId = 1028, kDeselectAllId = 1029;
constexpr int kMicrophoneList = 1030, kUsbCameraList = 1031, kIpCameraList = 1032;
constexpr int kSelectIpCamerasId = 1035, kRefreshUsbCamerasId = 1037, kAddId = 1038;
constexpr int kAddressId = 1027, kPortId = 1028, kUserId = 1029, kIpOkId = 1037, kIpCancelId = 1038;

// The devices window over a main window whose list holds two IP cameras, with the virtual camera and
// microphone attached and not listed yet.
class DevicesWindowTest : public PropertyWindowTest {
protected:
    void SetUp() override {
        PropertyWindowTest::SetUp();
        static const bool registered = RegisterDevicesWindowClass() && RegisterDevIPWindowClass();
        ASSERT_TRUE(registered);
        main.SetHandle(owner);
        AddIpCamera("127.0.0.21", 80);
        AddIpCamera("127.0.0.22", 80);
    }

    void AddIpCamera(const char* host, int port) {
        IpCameraParams params;
        std::snprintf(params.host, sizeof params.host, "%s", host);
        params.port = port;
        auto camera = std::make_unique<IpCameraDevice>();
        camera->Init(&params);
        main.GetDeviceList().Add(camera.release());
    }

    // Every listed device's deleted mark by name.
    std::map<std::wstring, int32_t> Marks() {
        std::map<std::wstring, int32_t> marks;
        for (Device* d = main.GetDeviceList().GetHead(); d; d = d->GetNext()) {
            wchar_t name[256] = {};
            d->GetFriendlyName(name, 255);
            marks[name] = d->GetDeletedMark();
        }
        return marks;
    }

    int ShowDevices() { return ShowDevicesWindow(owner, &main); }

    ScopedEnv virtualDevices{"KESTROVA_VIRTUAL_DEVICES", "1"};
    MainWindow main;
};

struct Item {
    std::wstring name;
    bool crossed;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    return out << std::string(item.name.begin(), item.name.end()) << (item.crossed ? " x" : " v");
}

std::vector<Item> Items(HWND window, int listId) {
    HWND list = GetDlgItem(window, listId);
    std::vector<Item> items;
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back({text, SendMessageW(list, LB_GETITEMDATA, i, 0) == kCrossGlyph});
    }
    return items;
}

// A click on the list's item `index`, as the user toggles it.
void ClickItem(HWND window, int listId, int index) {
    Click(OnScreen(GetDlgItem(window, listId), POINT{60, kMarkItemHeight * index + kMarkItemHeight / 2}));
}

TEST_F(DevicesWindowTest, ListsDevicesOldestFirstAndNewSystemDevicesCrossedAtTheEnd) {
    Drive(kDevicesWindowClass, [&] { return ShowDevices(); }, [&](HWND window) {
        EXPECT_EQ(Items(window, kIpCameraList),
                  (std::vector<Item>{{L"127.0.0.21:80", false}, {L"127.0.0.22:80", false}}));
        const std::vector<Item> cameras = Items(window, kUsbCameraList);
        ASSERT_EQ(cameras.size(), 1u);
        EXPECT_TRUE(cameras[0].crossed);
        ASSERT_EQ(Items(window, kMicrophoneList).size(), 1u);
        EXPECT_TRUE(Items(window, kMicrophoneList)[0].crossed);
        // A second search finds nothing new.
        Press(window, kRefreshUsbCamerasId);
        EXPECT_EQ(Items(window, kUsbCameraList), cameras);
        Press(window, kOkId);
    });
    // The new devices are in the list, marked for removal at the main window's refresh.
    int crossed = 0;
    for (const auto& [name, mark] : Marks()) crossed += mark;
    EXPECT_EQ(Marks().size(), 4u);
    EXPECT_EQ(crossed, 2);
}

TEST_F(DevicesWindowTest, OkKeepsTheTogglesAndCancelRestoresEveryMark) {
    for (const int close : {kOkId, kCancelId, kCloseButtonId}) {
        std::wstring camera;
        Drive(kDevicesWindowClass, [&] { return ShowDevices(); }, [&](HWND window) {
            camera = Items(window, kUsbCameraList).at(0).name;
            ClickItem(window, kIpCameraList, 1);  // cross a kept camera
            ClickItem(window, kUsbCameraList, 0);  // tick the new one
            ClickItem(window, kIpCameraList, 0);   // cross and tick again: two clicks toggle back
            ClickItem(window, kIpCameraList, 0);
            EXPECT_EQ(Items(window, kIpCameraList),
                      (std::vector<Item>{{L"127.0.0.21:80", false}, {L"127.0.0.22:80", true}}));
            Press(window, close);
        });
        const auto marks = Marks();
        SCOPED_TRACE(close);
        EXPECT_EQ(marks.at(L"127.0.0.21:80"), 0);
        EXPECT_EQ(marks.at(L"127.0.0.22:80"), close == kOkId ? 1 : 0);
        EXPECT_EQ(marks.at(camera), close == kOkId ? 0 : 1);
        // The next round starts from the two cameras alone, so the system camera is new again.
        for (Device* d = main.GetDeviceList().GetHead(); d; d = d->GetNext()) d->SetDeletedMark(0);
        main.GetDeviceList().DestroyAll();
        AddIpCamera("127.0.0.21", 80);
        AddIpCamera("127.0.0.22", 80);
    }
}

TEST_F(DevicesWindowTest, DeselectAllCrossesEveryKindAndSelectAllTicksOnlyItsOwn) {
    Drive(kDevicesWindowClass, [&] { return ShowDevices(); }, [&](HWND window) {
        Press(window, kDeselectAllId);
        for (int list : {kMicrophoneList, kUsbCameraList, kIpCameraList})
            for (const Item& item : Items(window, list)) EXPECT_TRUE(item.crossed);
        Press(window, kSelectIpCamerasId);
        for (const Item& item : Items(window, kIpCameraList)) EXPECT_FALSE(item.crossed);
        EXPECT_TRUE(Items(window, kUsbCameraList).at(0).crossed);
        Press(window, kOkId);
    });
    for (const auto& [name, mark] : Marks())
        EXPECT_EQ(mark, name.rfind(L"127.0.0.2", 0) == 0 ? 0 : 1) << std::string(name.begin(), name.end());
}

TEST_F(DevicesWindowTest, ACameraAddedThroughAddStaysWhenTheWindowIsCancelled) {
    Drive(kDevicesWindowClass, [&] { return ShowDevices(); }, [&](HWND window) {
        Later([&] {
            HWND add = FindWindowW(kDevIPWindowClass, nullptr);
            ASSERT_NE(add, nullptr);
            Type(add, kAddressId, L"127.0.0.1");
            Type(add, kPortId, L"8080");
            Press(add, kIpOkId);
        });
        Press(window, kAddId);
        EXPECT_EQ(Items(window, kIpCameraList).back(), (Item{L"127.0.0.1:8080", false}));
        Press(window, kCancelId);
    });
    EXPECT_EQ(Marks().at(L"127.0.0.1:8080"), 0);
}

// The add IP camera window on its own.
using DevIPWindowTest = DevicesWindowTest;

TEST_F(DevIPWindowTest, AddsACameraNamedFromAddressAndPortWithTheUserInLowerCase) {
    Drive(kDevIPWindowClass, [&] { return ShowDevIPWindow(owner, &main); }, [&](HWND window) {
        EXPECT_EQ(Text(window, kPortId), L"80");
        Type(window, kAddressId, L"127.0.0.1");
        Type(window, kUserId, L"Admin");
        Press(window, kIpOkId);
    });
    Device* camera = main.GetDeviceList().FindByName(L"127.0.0.1:80");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera, main.GetDeviceList().GetHead());
    EXPECT_EQ(camera->GetDeletedMark(), 0);
    auto record = std::make_unique<DeviceSettings>();
    camera->GetSettings(*record);
    EXPECT_EQ(record->GetCameraUser(), "admin");
}

TEST_F(DevIPWindowTest, RefusesAListedNameAndPortsOutsideOneTo65535) {
    const struct {
        const wchar_t* address;
        const wchar_t* port;
        const wchar_t* message;  // null: added
    } cases[] = {
        {L"127.0.0.21", L"80", kDeviceListedText},
        {L"127.0.0.21", L"0", kPortRangeText},
        {L"127.0.0.21", L"", kPortRangeText},
        {L"127.0.0.21", L"99999", kPortRangeText},
        {L"127.0.0.21", L"65535", nullptr},  // the same address on another port is another camera
    };
    for (const auto& c : cases) {
        const size_t before = Marks().size();
        Drive(kDevIPWindowClass, [&] { return ShowDevIPWindow(owner, &main); }, [&](HWND window) {
            Type(window, kAddressId, c.address);
            Type(window, kPortId, c.port);
            if (!c.message) {
                Press(window, kIpOkId);
                EXPECT_FALSE(IsWindow(window));
                return;
            }
            EXPECT_EQ(MessageAfter([&] { Press(window, kIpOkId); }), c.message);
            EXPECT_TRUE(IsWindow(window));  // open for a correction
            Press(window, kIpCancelId);
        });
        EXPECT_EQ(Marks().size(), before + (c.message ? 0 : 1));
    }
}

}  // namespace
}  // namespace kestrova::uitest
