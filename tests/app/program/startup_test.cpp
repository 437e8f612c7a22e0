#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/instance_requests.h"
#include "app/own_windows.h"
#include "app/program_pages.h"
#include "app/registry_values.h"
#include "platform/base/text.h"
#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/message_box.h"
#include "toolkit/message_box_window.h"

namespace kestrova::uitest {
namespace {

// The one message box on the screen: its text, and a click on its button `id` (0 closes it).
std::wstring AnswerMessageBox(int id) {
    std::vector<HWND> boxes = OwnWindowsOfClass(toolkit::kMessageExClassName);
    if (boxes.size() != 1) return L"(" + std::to_wstring(boxes.size()) + L" boxes)";
    wchar_t text[512] = {};
    GetWindowTextW(boxes[0], text, 512);
    if (id == 0) {
        SendMessageW(boxes[0], WM_CLOSE, 0, 0);
    } else {
        Click(OnScreen(GetDlgItem(boxes[0], id), POINT{20, 10}));
    }
    return text;
}

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, ASecondStartNotRestartingShowsTheRunningInstancesWindow) {
    OpenMainWindow(WindowStart::kHidden);
    InstanceRequests running;
    std::unique_ptr<InstanceChannel> runningChannel;
    ASSERT_TRUE(BecomeTheRunningInstance(running, runningChannel));
    running.Attach(main);

    for (const int answer : {kMessageNoId, 0}) {  // No, or the box closed
        SCOPED_TRACE(answer);
        ShowWindow(main, SW_HIDE);
        InstanceRequests second;
        std::unique_ptr<InstanceChannel> secondChannel;
        std::wstring asked;
        LoopSteps steps;
        steps.Then([&] { asked = AnswerMessageBox(answer); });
        EXPECT_FALSE(BecomeTheRunningInstance(second, secondChannel));
        EXPECT_EQ(secondChannel, nullptr);
        EXPECT_EQ(asked, kRestartQuestion);
        PumpMessages();
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(GetForegroundWindow(), main);
    }
}

TEST_F(StartupTest, ACloseRequestWaitsUntilTheModalLoopHasEnded) {
    OpenMainWindow();
    AddDevice(kDeviceUsbCamera, L"Porch", true);
    InstanceRequests requests;
    requests.Attach(main);
    LoopSteps steps;
    // A command of the main window that runs a modal box (a property window would do the same).
    steps.Then([&] { PostMessageW(main, WM_COMMAND, 4610, 0); });
    steps.Then([&] { requests.Take(InstanceRequest::kClose); });
    steps.Then([&] {
        EXPECT_TRUE(IsWindow(main));  // still there under the modal box, with its devices
        EXPECT_EQ(Main().GetDeviceList().GetHead()->GetState(kStatePowered), 1);
        AnswerMessageBox(kMessageOkId);
    });
    EXPECT_EQ(RunMessageLoop(requests), 0);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(StartupTest, RequestsThatComeBeforeTheMainWindowAreActedOnOnceItIsThere) {
    InstanceRequests requests;
    requests.Take(InstanceRequest::kShow);
    requests.Take(InstanceRequest::kClose);
    OpenMainWindow(WindowStart::kHidden);
    requests.Attach(main);
    EXPECT_EQ(RunMessageLoop(requests), 0);  // shown, then closed through its own shutdown
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(trayMessages.back(), DWORD(NIM_DELETE));
}

TEST_F(StartupTest, OnlyTheFirstRunOpensTheWelcomePage) {
    RecordFirstRun();
    const std::vector<std::string> first = Opened(1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], ToUtf8(ProgramPagePath(ProgramPage::kWelcome)));
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(OpenFirstRunKey(key), kRegistryOk);
    EXPECT_EQ(RegReadDword(*key, kFirstRunValue, 0), 1u);

    RecordFirstRun();
    OpenProgramPage(ProgramPage::kWebsite);  // a marker that the second run's page would come before
    std::vector<std::string> all = Opened(2);
    EXPECT_EQ(std::count(all.begin(), all.end(), first[0]), 1);
}

}  // namespace
}  // namespace kestrova::uitest
