#include "toolkit/tray_icon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/messages.h"
#include "platform/ui/resources.h"
#include "tests/platform/shell/x_session.h"
#include "tests/support/temp_folder.h"

namespace kestrova {
namespace {

// What the icon's window got as the icon's message: each mouse message (lParam), with wParam the icon's id.
std::vector<LPARAM> g_mouse;
std::vector<WPARAM> g_ids;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kTrayIconMessage) {
        g_ids.push_back(wParam);
        g_mouse.push_back(lParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeOwner() {
    static const bool registered = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = L"KestrovaTrayOwner";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExW(0, L"KestrovaTrayOwner", L"", 0, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
}

TEST(TrayIconTest, HandsTheShellTheFirstLayoutRecordWithTheTipCutTo63Characters) {
    std::vector<std::pair<DWORD, NOTIFYICONDATAW>> calls;
    SetNotifyIconHandler([&](DWORD message, const NOTIFYICONDATAW& data) {
        calls.emplace_back(message, data);
        return message != NIM_MODIFY;
    });
    HWND first = reinterpret_cast<HWND>(uintptr_t(11)), second = reinterpret_cast<HWND>(uintptr_t(12));
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    const std::wstring tip(70, L't');
    EXPECT_TRUE(TrayIcon::Add(first, icon, L"BRANTLOW Kestrova"));
    EXPECT_FALSE(TrayIcon::Modify(second, nullptr, tip.c_str())) << "the shell's answer is passed on";
    EXPECT_TRUE(TrayIcon::Delete());
    SetNotifyIconHandler(nullptr);

    ASSERT_EQ(calls.size(), 3u);
    const NOTIFYICONDATAW& added = calls[0].second;
    EXPECT_EQ(calls[0].first, NIM_ADD);
    EXPECT_EQ(added.cbSize, 152u);
    EXPECT_EQ(added.hWnd, first);
    EXPECT_EQ(added.uID, 0u);
    EXPECT_EQ(added.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(added.uCallbackMessage, 102u);
    EXPECT_EQ(added.hIcon, icon);
    EXPECT_EQ(std::wstring(added.szTip), L"BRANTLOW Kestrova");
    EXPECT_EQ(calls[1].first, NIM_MODIFY);
    EXPECT_EQ(std::wstring(calls[1].second.szTip), tip.substr(0, 63));
    // The delete names the icon the last modify did.
    EXPECT_EQ(calls[2].first, NIM_DELETE);
    EXPECT_EQ(calls[2].second.hWnd, second);
    EXPECT_EQ(calls[2].second.uID, 0u);
}

TEST(TrayIconTest, DocksIntoARealTrayWithItsTipAndReportsAClickToItsWindow) {
    for (const char* program : {"Xvfb", "trayer", "xdotool"})
        if (!OnPath(program)) GTEST_SKIP() << program << " is not installed";
    XSession x;
    ASSERT_TRUE(x.Ready()) << "Xvfb did not start";
    ScopedEnv display("DISPLAY", x.Name().c_str());
    x.Start({"trayer", "--edge", "top", "--align", "left", "--widthtype", "request", "--height", "32"});
    ASSERT_TRUE(XSession::WaitFor([&] { return x.TrayManager() != 0; })) << "the tray did not start";
    HWND owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    g_mouse.clear();
    g_ids.clear();

    ASSERT_TRUE(TrayIcon::Add(owner, LoadIconW(nullptr, IDI_APPLICATION), L"BRANTLOW Kestrova"));
    Window icon = 0;
    ASSERT_TRUE(XSession::WaitFor([&] {
        icon = x.FindByName("BRANTLOW Kestrova");
        return icon && x.Parent(icon) != DefaultRootWindow(x.X()) && x.Shown(icon);
    })) << "the icon did not dock";
    EXPECT_EQ(x.TopLevelClass(icon), "trayer");

    ASSERT_EQ(x.Run({"xdotool", "mousemove", "--window", std::to_string(icon), "4", "4", "click", "1"}), 0);
    const bool clicked = XSession::WaitFor([] {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        return std::find(g_mouse.begin(), g_mouse.end(), LPARAM(WM_LBUTTONUP)) != g_mouse.end();
    });
    EXPECT_TRUE(clicked) << "the click did not reach the window";
    EXPECT_NE(std::find(g_mouse.begin(), g_mouse.end(), LPARAM(WM_LBUTTONDOWN)), g_mouse.end());
    for (WPARAM id : g_ids) EXPECT_EQ(id, 0u);

    EXPECT_TRUE(TrayIcon::Delete());
    EXPECT_TRUE(XSession::WaitFor([&] { return x.FindByName("BRANTLOW Kestrova") == 0; }));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace kestrova
