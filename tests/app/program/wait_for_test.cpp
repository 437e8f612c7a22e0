// The fixture's wait for a condition, on a thread that never runs out of messages: the main window's thread is
// like that while its live pictures take longer to paint than the frames take to come.
#include <gtest/gtest.h>

#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr UINT kNextChore = WM_APP + 50;
constexpr int kChoreBound = 100000;

int g_chores = 0;

// Each chore posts the next one, up to a bound that only keeps a broken wait from running for ever.
LRESULT BusyWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kNextChore) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (++g_chores < kChoreBound) PostMessageW(hwnd, kNextChore, 0, 0);
    return 0;
}

HWND CreateBusyWindow() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = BusyWindowProc;
        wc.lpszClassName = L"KestrovaBusyWindow";
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(0, L"KestrovaBusyWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
}

using WaitForTest = ProgramTest;

TEST_F(WaitForTest, ReturnsOnceTheConditionHoldsWhileMessagesNeverRunOut) {
    HWND busy = CreateBusyWindow();
    ASSERT_NE(busy, nullptr);
    g_chores = 0;
    PostMessageW(busy, kNextChore, 0, 0);
    EXPECT_TRUE(WaitFor([] { return g_chores >= 3; }));
    EXPECT_EQ(g_chores, 3);
    DestroyWindow(busy);
}

}  // namespace
}  // namespace kestrova::uitest
