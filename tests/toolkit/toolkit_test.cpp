#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

#include "tests/toolkit/toolkit_fixture.h"

namespace kestrova::uitest {
namespace {

const wchar_t* const kClassNames[] = {L"WButtonEx_0000", L"WLabelEx_0000",  L"WEditEx_0000",
                                      L"WSliderEx_0000", L"WChoiceEx_0000", L"WLinkEx_0000",
                                      L"WMenuEx_0000",   L"WToolTipEx_0000"};

bool Registered(const wchar_t* name) {
    HWND probe = CreateWindowExW(0, name, L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
    DestroyWindow(probe);
    return probe != nullptr;
}

LRESULT Blocker(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Runs with the toolkit registered (the fixture's set-up) and leaves it so.
using InitToolkitTest = ToolkitTest;

TEST_F(InitToolkitTest, TheClassesAreRegisteredInOrderUntilTheFirstThatFails) {
    DestroyWindow(parent);
    parent = nullptr;
    for (const wchar_t* name : kClassNames) ASSERT_TRUE(UnregisterClassW(name, nullptr));
    WNDCLASSW taken;
    taken.lpfnWndProc = Blocker;
    taken.lpszClassName = L"WEditEx_0000";
    ASSERT_TRUE(RegisterClassW(&taken));

    EXPECT_FALSE(InitToolkit());
    EXPECT_TRUE(Registered(L"WButtonEx_0000"));
    EXPECT_TRUE(Registered(L"WLabelEx_0000"));
    for (const wchar_t* name :
         {L"WSliderEx_0000", L"WChoiceEx_0000", L"WLinkEx_0000", L"WMenuEx_0000", L"WToolTipEx_0000"})
        EXPECT_FALSE(Registered(name)) << name;

    for (const wchar_t* name : {L"WButtonEx_0000", L"WLabelEx_0000", L"WEditEx_0000"})
        ASSERT_TRUE(UnregisterClassW(name, nullptr));
    EXPECT_TRUE(InitToolkit());
    for (const wchar_t* name : kClassNames) EXPECT_TRUE(Registered(name)) << name;
}

}  // namespace
}  // namespace kestrova::uitest
