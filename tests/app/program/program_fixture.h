#pragma once
// A fixture for the program's windows on the headless desktop: the toolkit and the window classes
// registered once, a test clock, a 1280 x 800 screen, private configuration, documents and runtime folders,
// a notification area that records its icons, and a desktop opener that records what it is asked to open.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/base/clock.h"
#include "platform/shell/notify_icon.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"
#include "tests/engine/device/kit/test_device.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the main window (which loads the settings and fills the list) and keeps it in `main`.
    void OpenMainWindow(WindowStart start = WindowStart::kShown);
    MainWindow& Main() { return *MainWindow::FromHandle(main); }
    // A test device added to the main window's list as the program adds devices (reporting to the main
    // window and its display), powered when asked; the list box is filled anew.
    testing::TestDevice* AddDevice(int32_t type, const std::wstring& name, bool powered);
    // Writes "Settings.ini" before the main window reads it.
    void WriteSettings(const std::string& lines) const;
    HWND Control(int id) const { return GetDlgItem(main, id); }
    HWND Display() const { return Control(kDisplayId); }

    // What the desktop's opener was asked to open so far, waiting up to a few seconds for `count` of them.
    std::vector<std::string> Opened(size_t count);

    // Streaming settings as the streaming window leaves them after OK: the loopback address and a port that
    // is free now.
    void ConfirmLoopbackStreaming();
    // Dispatches this thread's messages one at a time until `done` holds, for at most ten seconds of real time
    // (workers and the capture graphs post in real time), even while messages never run out; whether it came to
    // hold. Messages queued after it holds stay queued.
    static bool WaitFor(const std::function<bool()>& done);

    TestClock clock;
    TempFolder tmp;
    HWND main = nullptr;
    std::vector<NOTIFYICONDATAW> trayCalls;  // NIM_ADD and NIM_DELETE in order, as the shell got them
    std::vector<DWORD> trayMessages;

private:
    ScopedEnv config_{"KESTROVA_CONFIG_DIR", (tmp.native() + "config").c_str()};
    ScopedEnv session_{"XDG_CONFIG_HOME", (tmp.native() + "session").c_str()};
    ScopedEnv documents_{"KESTROVA_DOCUMENTS_DIR", (tmp.native() + "Documents").c_str()};
    ScopedEnv runtime_{"KESTROVA_RUNTIME_DIR", (tmp.native() + "runtime").c_str()};
    ScopedEnv noVirtual_{"KESTROVA_VIRTUAL_DEVICES", nullptr};
    std::string startFolder_;
};

// The colour a 24-bit frame of blue, green and red shows in a window.
inline COLORREF FrameColour(uint8_t blue, uint8_t green, uint8_t red) {
    return RGB(red, green, blue);
}

}  // namespace kestrova::uitest
