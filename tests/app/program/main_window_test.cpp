#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/app_settings.h"
#include "app/device_list_file.h"
#include "app/own_windows.h"
#include "app/popup_view.h"
#include "app/program_globals.h"
#include "app/windows/devices_window.h"
#include "app/windows/property_window.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/ui/gdi.h"
#include "platform/ui/listbox.h"
#include "platform/ui/windows.h"
#include "tests/app/program/modal_steps.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/button.h"
#include "toolkit/message_box_window.h"
#include "toolkit/slider.h"
#include "toolkit/tooltip.h"

namespace kestrova::uitest {
namespace {

std::vector<std::wstring> ListItems(HWND list) {
    std::vector<std::wstring> items;
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    POINT origin{0, 0};
    ClientToScreen(GetParent(control), &origin);
    return RECT{r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
}

LRESULT Property(HWND control, UINT property) {
    return SendMessageW(control, property, kPropertyRead, 0);
}

std::vector<HWND> ToolTips() {
    return OwnWindowsOfClass(toolkit::kToolTipExClass.name);
}

class MainWindowTest : public ProgramTest {};

TEST_F(MainWindowTest, ItIsLaidOutAsTheSkinExpects) {
    OpenMainWindow();
    RECT window;
    GetWindowRect(main, &window);
    EXPECT_EQ(
        (std::vector<int>{window.left, window.top, window.right - window.left, window.bottom - window.top}),
        (std::vector<int>{640 - 250, 400 - 336, 500, 673}));
    wchar_t title[64] = {};
    GetWindowTextW(main, title, 64);
    EXPECT_STREQ(title, L"BRANTLOW Kestrova");
    // The rounded corners let the desktop through.
    EXPECT_EQ(ReadPixel(main, 0, 0), CLR_INVALID);
    EXPECT_EQ(ReadPixel(main, 1, 1), CLR_INVALID);
    EXPECT_NE(ReadPixel(main, 8, 8), CLR_INVALID);

    struct Place {
        int id;
        RECT rect;
        int bitmap;  // the button's background skin, 0 for controls of other kinds
    };
    const Place places[] = {
        {kMainCloseButtonId, {449, 1, 490, 18}, 5457},
        {kHideButtonId, {425, 1, 448, 18}, 5458},
        {kMenuButtonId, {401, 1, 424, 18}, 5459},
        {kDisplayId, {10, 33, 490, 393}, 0},
        {kPowerButtonId, {84, 403, 120, 429}, 5633},
        {kSchedulingButtonId, {232, 403, 268, 429}, 5641},
        {kDevicePropertiesButtonId, {269, 403, 305, 429}, 5648},
        {kDisplayPropertiesButtonId, {306, 403, 342, 429}, 5649},
        {kSettingsButtonId, {380, 403, 416, 429}, 5651},
        {kToleranceSliderId, {33, 481, 234, 502}, 0},
        {kSensitivitySliderId, {267, 481, 468, 502}, 0},
        {kDeviceListBoxId, {30, 548, 470, 647}, 0},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.id);
        HWND control = Control(p.id);
        ASSERT_NE(control, nullptr);
        const RECT r = PlaceOf(control);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<int>{p.rect.left, p.rect.top, p.rect.right, p.rect.bottom}));
        if (p.bitmap) {
            EXPECT_EQ(Property(control, kButtonBackgroundBitmap), p.bitmap);
        }
    }
    EXPECT_EQ(Property(Control(kToleranceSliderId), kSliderThumbBitmap), kSliderThumbSkin);
    EXPECT_EQ(SendMessageW(Control(kToleranceSliderId), kSliderRange, kPropertyRead, 0), MAKELPARAM(0, 10));

    ASSERT_EQ(trayMessages, std::vector<DWORD>{NIM_ADD});
    EXPECT_EQ(trayCalls[0].hWnd, main);
    EXPECT_EQ(trayCalls[0].uCallbackMessage, 102u);
    EXPECT_STREQ(trayCalls[0].szTip, L"BRANTLOW Kestrova");
}

TEST_F(MainWindowTest, TheListShowsCamerasThenMicrophonesAndTheSelectedDevicesState) {
    OpenMainWindow();
    HWND list = Control(kDeviceListBoxId);
    EXPECT_EQ(GetFocus(), list);
    testing::TestDevice* mic = AddDevice(kDeviceMicrophone, L"Desk Microphone", false);
    testing::TestDevice* porch = AddDevice(kDeviceUsbCamera, L"Porch", false);
    testing::TestDevice* gate = AddDevice(kDeviceIpCamera, L"Gate", true);
    EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"Gate", L"Porch", L"Desk Microphone"}));
    std::vector<LRESULT> icons;
    for (int i = 0; i < 3; ++i) icons.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0));
    EXPECT_EQ(icons, (std::vector<LRESULT>{kCameraPoweredIcon, kCameraOffIcon, kMicrophoneOffIcon}));
    // The first device listed was selected, and the refills kept it.
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), mic);

    // A click selects, and the buttons and sliders show the selected device; arrow keys do nothing.
    Click(OnScreen(list, POINT{100, 16}));
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), gate);
    EXPECT_EQ(Property(Control(kPowerButtonId), kButtonBackgroundBitmap), 5632);  // on
    EXPECT_EQ(Property(Control(kAlarmButtonId), kButtonBackgroundBitmap), 5635);  // off
    porch->SetTolerance(3);
    porch->SetSensitivity(8);
    Click(OnScreen(list, POINT{100, 33 + 16}));
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), porch);
    EXPECT_EQ(Property(Control(kPowerButtonId), kButtonBackgroundBitmap), 5633);
    EXPECT_EQ(Property(Control(kToleranceSliderId), kSliderValue), 3);
    EXPECT_EQ(Property(Control(kSensitivitySliderId), kSliderValue), 8);
    PressKey(VK_DOWN);
    PressKey(VK_UP);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);

    // Deleted devices go; a list left empty selects nothing and shows no device.
    porch->SetDeletedMark(1);
    Main().RefreshDeviceList();
    EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"Gate", L"Desk Microphone"}));
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), gate);  // the first item, as the selected one went
    for (Device* d = Main().GetDeviceList().GetHead(); d != nullptr; d = d->GetNext()) d->SetDeletedMark(1);
    Main().RefreshDeviceList();
    EXPECT_TRUE(ListItems(list).empty());
    EXPECT_EQ(Main().GetDeviceList().GetSelected(), nullptr);
    EXPECT_EQ(Property(Control(kPowerButtonId), kButtonBackgroundBitmap), 5633);
    EXPECT_EQ(Property(Control(kToleranceSliderId), kSliderValue), 0);
}

TEST_F(MainWindowTest, TheSelectedItemIsDrawnHighlightedWithItsIconAndName) {
    OpenMainWindow();
    AddDevice(kDeviceUsbCamera, L"Porch", false);  // selected, and second in the list below Gate
    AddDevice(kDeviceUsbCamera, L"Gate", false);
    HWND list = Control(kDeviceListBoxId);
    EXPECT_EQ(ReadPixel(list, 1, 33 + 16), RGB(97, 130, 184));  // the selected item's edge
    EXPECT_EQ(ReadPixel(list, 1, 16), RGB(255, 255, 255));
    auto inked = [&](RECT area) {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) count += ReadPixel(list, x, y) != RGB(255, 255, 255);
        return count;
    };
    EXPECT_GT(inked(RECT{10, 12, 25, 22}), 0);  // the state icon
    EXPECT_GT(inked(RECT{44, 0, 120, 33}), 0);  // the name
    EXPECT_EQ(inked(RECT{25, 0, 44, 33}), 0);
}

TEST_F(MainWindowTest, ADoubleClickAnywhereInTheListOpensTheDevicesWindow) {
    OpenMainWindow();
    AddDevice(kDeviceUsbCamera, L"Porch", false);
    static std::vector<WPARAM> commands;
    static WNDPROC original = nullptr;
    commands.clear();
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        main, GWLP_WNDPROC, reinterpret_cast<intptr_t>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_COMMAND && LOWORD(w) == kDeviceListBoxId) commands.push_back(w);
            return CallWindowProcW(original, h, m, w, l);
        })));
    HWND list = Control(kDeviceListBoxId);
    ModalSteps steps;
    steps.Close(kDevicesWindowClass, kCancelButtonId).Close(kDevicesWindowClass, kCancelButtonId);
    DoubleClick(OnScreen(list, POINT{100, 16}));  // on the item
    DoubleClick(OnScreen(list, POINT{100, 80}));  // below the last item
    int doubleClicks = 0;
    for (WPARAM w : commands) doubleClicks += HIWORD(w) == LBN_DBLCLK;
    EXPECT_EQ(doubleClicks, 2);
    SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<intptr_t>(original));
}

TEST_F(MainWindowTest, SlashMinAloneStartsHidden) {
    struct Case {
        std::vector<const char*> arguments;
        WindowStart start;
    };
    const Case cases[] = {
        {{"kestrova", "/min"}, WindowStart::kHidden},      {{"kestrova"}, WindowStart::kShown},
        {{"kestrova", "/MIN"}, WindowStart::kShown},       {{"kestrova", "/minimal"}, WindowStart::kShown},
        {{"kestrova", "-min"}, WindowStart::kShown},       {{"kestrova", "x", "/min"}, WindowStart::kShown},
        {{"kestrova", "/min", "x"}, WindowStart::kHidden},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StartFromArguments(int(c.arguments.size()), c.arguments.data()), c.start)
            << c.arguments.back();

    OpenMainWindow(WindowStart::kHidden);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(trayMessages, std::vector<DWORD>{NIM_ADD});
}

TEST_F(MainWindowTest, TheHideButtonHidesAndTheIconBringsTheWindowBack) {
    OpenMainWindow();
    Click(OnScreen(Control(kHideButtonId), POINT{10, 8}));
    EXPECT_FALSE(IsWindowVisible(main));
    SendMessageW(main, 102, 0, WM_MOUSEMOVE);
    EXPECT_FALSE(IsWindowVisible(main));
    for (LPARAM click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        ShowWindow(main, SW_HIDE);
        SendMessageW(main, 102, 0, click);
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(GetForegroundWindow(), main);
    }
    ShowWindow(main, SW_MINIMIZE);
    SendMessageW(main, WM_COMMAND, kHideButtonId, reinterpret_cast<LPARAM>(Control(kHideButtonId)));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(MainWindowTest, TooltipsShowOnlyWhenAskedForAndOverEnabledWindows) {
    struct Case {
        const char* what;
        bool tooltips, windowEnabled, buttonEnabled;
        bool shown;
    };
    const Case cases[] = {
        {"shown", true, true, true, true},
        {"turned off", false, true, true, false},
        {"window disabled", true, false, true, false},
        {"button disabled", true, true, false, false},
    };
    OpenMainWindow();
    HWND power = Control(kPowerButtonId);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Main().GetSettings().showTooltips = c.tooltips;
        EnableWindow(main, c.windowEnabled);
        EnableWindow(power, c.buttonEnabled);
        MoveMouse(OnScreen(power, POINT{18, 13}));
        AdvanceClock(clock, 200);
        EXPECT_EQ(ToolTips().size(), c.shown ? 1u : 0u);
        EnableWindow(main, TRUE);
        EnableWindow(power, TRUE);
        MoveMouse(OnScreen(main, POINT{250, 450}));
        AdvanceClock(clock, 20);
        EXPECT_TRUE(ToolTips().empty());
    }
    // Leaving a button removes a stray tooltip even while none would be shown.
    Main().GetSettings().showTooltips = 0;
    ShowToolTipEx(main, power, L"Stray");
    MoveMouse(OnScreen(power, POINT{18, 13}));
    AdvanceClock(clock, 200);
    MoveMouse(OnScreen(main, POINT{250, 450}));
    AdvanceClock(clock, 20);
    EXPECT_TRUE(ToolTips().empty());
}

TEST_F(MainWindowTest, TheMenuOpensUnderItsButtonAndTheStreamingPageIsOfflineWithoutAServer) {
    OpenMainWindow();
    LoopSteps steps;
    std::wstring said;
    steps.Then([&] {
        std::vector<HWND> menus = OwnWindowsOfClass(L"#32768");
        ASSERT_EQ(menus.size(), 1u);
        RECT r;
        GetWindowRect(menus[0], &r);
        const POINT expected = OnScreen(main, POINT{401, 19});
        EXPECT_EQ(r.left, expected.x);
        EXPECT_EQ(r.top, expected.y);
        PressKey(VK_DOWN);
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);  // "Open Streaming Webpage"
    });
    steps.Then([&] {
        std::vector<HWND> boxes = OwnWindowsOfClass(toolkit::kMessageExClassName);
        ASSERT_EQ(boxes.size(), 1u);
        wchar_t text[128] = {};
        GetWindowTextW(boxes[0], text, 128);
        said = text;
        SendMessageW(boxes[0], WM_CLOSE, 0, 0);
    });
    Click(OnScreen(Control(kMenuButtonId), POINT{10, 8}));
    PumpMessages();
    EXPECT_EQ(said, L"The streaming is currently offline.");
    EXPECT_TRUE(Opened(0).empty());
}

TEST_F(MainWindowTest, AboutOpensTheAboutWindowOverTheMainWindow) {
    OpenMainWindow();
    LoopSteps steps;
    bool mainDisabled = false;
    steps.Then([&] {
        std::vector<HWND> about = OwnWindowsOfClass(L"BKV2AboutWndClass");
        ASSERT_EQ(about.size(), 1u);
        mainDisabled = !IsWindowEnabled(main);
        SendMessageW(about[0], WM_CLOSE, 0, 0);
    });
    SendMessageW(main, WM_COMMAND, 4624, 0);
    PumpMessages();
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(OwnWindowsOfClass(L"BKV2AboutWndClass").empty());
}

TEST_F(MainWindowTest, TheMenuOpensTheStorageFolderAndTheMakersPagesWhichAreTheProgramsOwn) {
    OpenMainWindow();
    const std::wstring storage = Main().GetStorageFolder();
    ASSERT_TRUE(std::filesystem::remove(ToUtf8(storage)));  // made again when it is opened
    const int commands[] = {4609, 4611, 4612, 4613, 4614, 4615, 4616};
    for (int id : commands) SendMessageW(main, WM_COMMAND, id, 0);
    std::vector<std::string> opened = Opened(std::size(commands));
    std::sort(opened.begin(), opened.end());  // each opener runs on its own, in any order
    std::vector<std::string> expected;
    for (const char* page : {"contact", "facebook", "feedback", "googleplus", "twitter", "website"})
        expected.push_back(ToUtf8(FolderOf(ExecutablePath())) + "pages/" + page + ".html");
    expected.push_back(ToUtf8(storage));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(opened, expected);
    for (const std::string& target : opened) EXPECT_TRUE(FileExists(FromUtf8(target))) << target;
    EXPECT_EQ(storage, tmp.path() + L"Documents/Kestrova/");
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsStopsEveryDeviceAndQuitsWithZero) {
    for (const bool saveList : {false, true}) {
        SCOPED_TRACE(saveList);
        RemoveFile(DeviceListFile::Path());
        RemoveFile(AppSettings::FilePath());
        WriteSettings(saveList ? "SAVE_DEV_LIST_ON_EXIT=1\n" : "");
        OpenMainWindow();
        std::vector<std::string> events;
        struct Watched : testing::TestDevice {
            Watched(std::vector<std::string>& log) : log_(log) {}
            ~Watched() override { log_.push_back("deleted"); }
            int Stop() override {
                log_.push_back("stopped");
                return TestDevice::Stop();
            }
            std::vector<std::string>& log_;
        };
        for (int i = 0; i < 2; ++i) {
            auto* device = new Watched(events);
            device->SetFriendlyName(L"Camera");
            device->SetNotifyWindow(main);
            Main().GetDeviceList().Add(device)->Start();
        }
        auto* idle = new Watched(events);
        idle->SetFriendlyName(L"Idle");
        Main().GetDeviceList().Add(idle);  // never powered: not stopped, only deleted
        testing::TestDevice* viewed = AddDevice(kDeviceUsbCamera, L"Viewed", true);
        PopupWindow::Show(nullptr, viewed);
        HWND popup = PopupWindow::Find(viewed);

        Click(OnScreen(Control(kMainCloseButtonId), POINT{20, 8}));
        const PumpResult result = PumpMessages();
        EXPECT_TRUE(result.quit);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_FALSE(IsWindow(main));
        EXPECT_FALSE(IsWindow(popup));
        EXPECT_EQ(events, (std::vector<std::string>{"stopped", "stopped", "deleted", "deleted", "deleted"}));
        EXPECT_TRUE(FileExists(AppSettings::FilePath()));
        EXPECT_EQ(FileExists(DeviceListFile::Path()), saveList);
        EXPECT_EQ(trayMessages.back(), DWORD(NIM_DELETE));
        EXPECT_EQ(GetGlobalDeviceList(), nullptr);
        EXPECT_EQ(Globals().mainWindow, nullptr);
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
}

}  // namespace
}  // namespace kestrova::uitest
