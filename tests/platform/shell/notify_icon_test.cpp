#include "platform/shell/notify_icon.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell/system_tray_icon.h"
#include "platform/ui/messages.h"
#include "tests/platform/shell/debug_lines.h"
#include "tests/platform/shell/x_session.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

constexpr UINT kCallback = 102;

// The window the icon reports to: a layer window that notes every callback it gets, as (wParam, lParam).
std::vector<std::pair<WPARAM, LPARAM>> g_callbacks;

LRESULT LayerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kCallback) g_callbacks.emplace_back(wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeLayerWindow() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = LayerWindowProc;
        wc.lpszClassName = L"NotifyIconTestWindow";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(0, L"NotifyIconTestWindow", L"", 0, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
}

NOTIFYICONDATAW Record(HWND hwnd, const std::wstring& tip, UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP) {
    NOTIFYICONDATAW data;
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = hwnd;
    data.uFlags = flags;
    data.uCallbackMessage = kCallback;
    std::wcsncpy(data.szTip, tip.c_str(), 63);
    return data;
}

using Callback = std::pair<WPARAM, LPARAM>;

// Dispatches the window's messages until it has had `count` callbacks of the mouse message `until`, for up
// to ten seconds; then every callback but the pointer's moves.
std::vector<Callback> ButtonCallbacks(UINT until, size_t count) {
    XSession::WaitFor([&] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        size_t n = 0;
        for (const Callback& c : g_callbacks) n += c.second == LPARAM(until);
        return n >= count;
    });
    std::vector<Callback> buttons;
    for (const Callback& c : g_callbacks)
        if (c.second != WM_MOUSEMOVE) buttons.push_back(c);
    g_callbacks.clear();
    return buttons;
}

// A display of its own, and a layer window for the icon to report to.
class NotifyIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(x_.Ready()) << "Xvfb did not start";
        display_.emplace("DISPLAY", x_.Name().c_str());
        g_callbacks.clear();
        hwnd_ = MakeLayerWindow();
        ASSERT_NE(hwnd_, nullptr);
    }
    void TearDown() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    void StartTray() {
        tray_ = x_.Start(
            {"trayer", "--edge", "top", "--align", "left", "--widthtype", "request", "--height", "32"});
        ASSERT_TRUE(XSession::WaitFor([&] { return x_.TrayManager() != 0; })) << "the tray did not start";
    }

    // The icon's window (named by its tip), once the tray has taken it in and shows it; 0 when it does not.
    Window Docked(const std::string& tip) {
        Window icon = 0;
        const bool docked = XSession::WaitFor([&] {
            icon = x_.FindByName(tip);
            return icon && x_.Parent(icon) != DefaultRootWindow(x_.X()) && x_.Shown(icon);
        });
        return docked ? icon : 0;
    }

    void Click(Window icon, const std::string& button, const std::string& repeat = "1") {
        ASSERT_EQ(x_.Run({"xdotool", "mousemove", "--window", std::to_string(icon), "4", "4", "click",
                          "--repeat", repeat, "--delay", "40", button}),
                  0);
    }

    XSession x_;
    std::optional<ScopedEnv> display_;
    HWND hwnd_ = nullptr;
    pid_t tray_ = -1;
};

// The same with a tray on the display.
class TrayTest : public NotifyIconTest {
protected:
    void SetUp() override {
        NotifyIconTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (!OnPath("trayer")) GTEST_SKIP() << "trayer is not installed";
        ASSERT_NO_FATAL_FAILURE(StartTray());
    }
};

TEST_F(TrayTest, DocksIntoTheTrayAndReportsClicksToItsWindow) {
    if (!OnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    NOTIFYICONDATAW data = Record(hwnd_, L"Kestrova tray test");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    const Window icon = Docked("Kestrova tray test");
    ASSERT_NE(icon, 0u) << "the icon was not docked";
    EXPECT_EQ(x_.TopLevelClass(icon), "trayer") << "the tray's window holds it";

    Click(icon, "1");
    EXPECT_EQ(ButtonCallbacks(WM_LBUTTONUP, 1),
              (std::vector<Callback>{{0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}}));
    Click(icon, "3");
    EXPECT_EQ(ButtonCallbacks(WM_RBUTTONUP, 1),
              (std::vector<Callback>{{0, WM_RBUTTONDOWN}, {0, WM_RBUTTONUP}}));
    // Two quick presses of one button are a double click (the right click before is another button's).
    Click(icon, "1", "2");
    EXPECT_EQ(ButtonCallbacks(WM_LBUTTONUP, 2),
              (std::vector<Callback>{
                  {0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}, {0, WM_LBUTTONDBLCLK}, {0, WM_LBUTTONUP}}));

    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
}

TEST_F(TrayTest, ATrayThatAnnouncesItselfAfterTheRequestHoldsTheIconOnce) {
    if (!OnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    // A tray takes the selection before it announces itself, so a busy one may have the icon's request
    // waiting when its announcement goes out. Held still, it gets both at once here.
    x_.Pause(tray_);
    NOTIFYICONDATAW data = Record(hwnd_, L"asked once");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    x_.AnnounceTray();
    // The announcement is on the icon's connection before the rename is asked for, and the icon reads its
    // events no later than in the pass that applies the rename: once the new tip shows, it has answered.
    NOTIFYICONDATAW renamed = Record(hwnd_, L"asked once, renamed", NIF_TIP);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &renamed));
    EXPECT_TRUE(XSession::WaitFor([&] { return x_.FindByName("asked once, renamed") != 0; }));
    x_.Resume(tray_);

    const Window icon = Docked("asked once, renamed");
    ASSERT_NE(icon, 0u) << "the icon was not docked";
    EXPECT_EQ(x_.TopLevelClass(icon), "trayer");
    Click(icon, "1");
    EXPECT_EQ(ButtonCallbacks(WM_LBUTTONUP, 1),
              (std::vector<Callback>{{0, WM_LBUTTONDOWN}, {0, WM_LBUTTONUP}}));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
}

TEST_F(TrayTest, ModifiesTheTipAndDeletesTheIcon) {
    NOTIFYICONDATAW data = Record(hwnd_, L"first tip");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    ASSERT_NE(Docked("first tip"), 0u);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data)) << "the window has that icon already";

    // A tip that fills the field with no terminator ends at the field's last character.
    NOTIFYICONDATAW full = data;
    full.uFlags = NIF_TIP;
    std::wmemset(full.szTip, L'x', 64);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &full));
    EXPECT_NE(Docked(std::string(63, 'x')), 0u);
    EXPECT_EQ(x_.FindByName("first tip"), 0u);

    NOTIFYICONDATAW other = Record(hwnd_, L"other");
    other.uID = 7;
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &other)) << "no icon has that id";
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &other));

    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_TRUE(XSession::WaitFor([&] { return x_.FindByName(std::string(63, 'x')) == 0; }));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &data)) << "deleted already";
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &data));
}

TEST_F(TrayTest, ComesBackWhenANewTrayStarts) {
    NOTIFYICONDATAW data = Record(hwnd_, L"returning");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    const Window icon = Docked("returning");
    ASSERT_NE(icon, 0u);

    x_.Stop(tray_);
    // Left alone on the desktop it would be a stray square in a corner of the screen.
    EXPECT_TRUE(XSession::WaitFor([&] { return x_.TrayManager() == 0 && !x_.Shown(icon); }));

    ASSERT_NO_FATAL_FAILURE(StartTray());
    EXPECT_EQ(Docked("returning"), icon);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
}

TEST_F(TrayTest, ShowsItsPictureAtTheSizeTheTrayGivesIt) {
    // Red, green / blue, white quarters; the tray makes the icon taller than wide.
    std::unique_ptr<SystemTrayIcon> icon;
    ASSERT_EQ(SystemTrayIcon::Dock(
                  {2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}}, L"quarters", [](UINT) {}, icon),
              DockResult::kDocked);
    const Window window = Docked("quarters");
    ASSERT_NE(window, 0u);
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(x_.X(), window, &a));
    const int w = a.width, h = a.height;
    auto corners = [&] {
        return std::vector<uint32_t>{x_.PixelAt(window, 0, 0), x_.PixelAt(window, w - 1, 0),
                                     x_.PixelAt(window, 0, h - 1), x_.PixelAt(window, w - 1, h - 1)};
    };
    const std::vector<uint32_t> quarters{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    EXPECT_TRUE(XSession::WaitFor([&] { return corners() == quarters; })) << w << " x " << h;

    icon->SetPicture({1, 1, {0x336699}});
    const std::vector<uint32_t> plain(4, 0x336699);
    EXPECT_TRUE(XSession::WaitFor([&] { return corners() == plain; }));
}

TEST_F(NotifyIconTest, WithoutATrayAddingFails) {
    DebugLines debug;
    NOTIFYICONDATAW data = Record(hwnd_, L"nowhere");
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_EQ(debug.Count("no system tray"), 1);
    EXPECT_EQ(x_.FindByName("nowhere"), 0u) << "nothing is left on the display";
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &data));
}

TEST_F(TrayTest, TheDisplayGoingAwayTakesOnlyTheIcon) {
    NOTIFYICONDATAW data = Record(hwnd_, L"short-lived");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    ASSERT_NE(Docked("short-lived"), 0u);
    DebugLines debug;
    x_.StopServer();
    EXPECT_TRUE(XSession::WaitFor([&] { return debug.Count("display went away") == 1; }));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));  // and the process is still here to say so
}

TEST(NotifyIcon, WithoutADisplayAddingFails) {
    DebugLines debug;
    for (const char* display : {static_cast<const char*>(nullptr), ":9999"}) {
        ScopedEnv env("DISPLAY", display);
        NOTIFYICONDATAW data = Record(reinterpret_cast<HWND>(1), L"tip");
        EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data)) << (display ? display : "no DISPLAY");
    }
    EXPECT_EQ(debug.Count("no X display"), 2);
}

TEST(NotifyIcon, AHandlerTakesTheCallsWhileItIsSet) {
    std::vector<std::pair<DWORD, std::wstring>> calls;
    SetNotifyIconHandler([&](DWORD message, const NOTIFYICONDATAW& data) {
        calls.emplace_back(message, data.szTip);
        return TRUE;
    });
    NOTIFYICONDATAW data = Record(reinterpret_cast<HWND>(1), L"handled");
    EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, nullptr));
    SetNotifyIconHandler(nullptr);
    EXPECT_EQ(calls,
              (std::vector<std::pair<DWORD, std::wstring>>{{NIM_ADD, L"handled"}, {NIM_DELETE, L"handled"}}));

    ScopedEnv env("DISPLAY", nullptr);
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data)) << "the desktop's own is back";
}

}  // namespace
}  // namespace kestrova
