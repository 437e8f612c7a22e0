#pragma once
// A fixture for tests that make windows of TestWindowClass: a test clock, a shared log, and every window
// destroyed at the end.

#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/gdi.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"
#include "tests/platform/ui/test_window.h"

namespace kestrova::uitest {

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { SetClock(&clock); }
    void TearDown() override {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) DestroyWindow((*it)->hwnd);
        PumpMessages();
        SetClock(nullptr);
    }

    TestWindow& Make(const char* name, HWND parent, uint32_t style, RECT r, uint32_t exStyle = 0) {
        windows.push_back(std::make_unique<TestWindow>(name, &log));
        TestWindow& w = *windows.back();
        w.hwnd = CreateWindowExW(exStyle, TestWindowClass(), L"", style | WS_VISIBLE, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent, 0, nullptr, &w);
        EXPECT_NE(w.hwnd, nullptr);
        return w;
    }

    TestClock clock;
    std::vector<LoggedMessage> log;
    std::vector<std::unique_ptr<TestWindow>> windows;
};

}  // namespace kestrova::uitest
