#pragma once
// A fixture for tests of the X11 backend: one Xvfb for the suite, the backend installed on it for each test,
// windows that fill themselves with a colour and log their input, and screenshots.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/backends/x11/x11_backend.h"
#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "tests/platform/ui/x11/xvfb_server.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {

class X11Test : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A shown popup window filled with `colour` (0x00RRGGBB as the screen shows it).
    HWND Make(RECT rect, uint32_t colour, uint32_t exStyle = 0, HWND owner = nullptr);
    void Repaint(HWND hwnd, uint32_t colour);
    // Runs this thread's messages, in real time, until `done` holds or five seconds have passed.
    bool PumpUntil(const std::function<bool()>& done);
    // The input `hwnd` got so far, as "down 50,30", "up 50,30", "key 13", "char H" lines.
    std::vector<std::string> Input(HWND hwnd) const;
    void ForgetInput();
    // Waits until the display shows the layer's windows as they are now, then captures the screen.
    void Shoot();

    static XvfbServer* server;
    ui::X11Backend* x11 = nullptr;
    Screenshot screen;

private:
    TempFolder folder_;
    std::vector<HWND> windows_;
};

}  // namespace kestrova::uitest
