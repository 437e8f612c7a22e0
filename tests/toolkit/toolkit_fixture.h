#pragma once
// A fixture for the toolkit's controls: the toolkit registered, a test clock, and a visible parent window
// at (100, 100), 400 x 300, that records what its controls tell it (WM_COMMAND and WM_NOTIFY) in order, and
// on request the clicks that reach it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/ui/gdi.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"

namespace kestrova::uitest {

// One message the parent got, as a test compares it: "command", "command 768" (a code in the high word),
// "notify 1", "lbuttondown 5,7" (client coordinates of the window that got it first).
struct Heard {
    std::string what;
    HWND from = nullptr;  // the control named in the message; the parent itself for a click
};

// What the parent window keeps.
struct ParentLog {
    std::vector<Heard> heard;
    bool recordClicks = false;  // also the button presses that reach the parent
};

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // What the parent heard since the last call, and from whom; each must come from `from`.
    std::vector<std::string> HeardFrom(HWND from);
    // The pointer at a client point of `hwnd`, moved there as the user would.
    void MoveTo(HWND hwnd, POINT client) { MoveMouse(OnScreen(hwnd, client)); }
    void ClickAt(HWND hwnd, POINT client, MouseButton button = MouseButton::Left) {
        Click(OnScreen(hwnd, client), button);
    }
    SIZE ClientSize(HWND hwnd);
    // The size of `text` in the controls' font (Tahoma 13), as DrawTextW measures it.
    SIZE Measured(const std::wstring& text);
    // How many pixels of `hwnd`'s client rectangle `area` have `colour`.
    int CountPixels(HWND hwnd, RECT area, COLORREF colour);

    TestClock clock;
    HWND parent = nullptr;
    ParentLog log;
};

}  // namespace kestrova::uitest
