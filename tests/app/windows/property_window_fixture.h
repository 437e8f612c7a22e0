#pragma once
// A fixture for the property windows: the toolkit, the message box and every property window class
// registered, a test clock, and a shown owner window standing in for the main window, 500 x 673 at
// (100, 60). A test opens a window through its Show and plays the user inside the window's loop.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/base/clock.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/testing/message_pump.h"
#include "tests/support/temp_folder.h"

namespace kestrova::uitest {

// A click in the middle of the window's control `id`, as the user would.
void Press(HWND window, int id);
bool Checked(HWND window, int id);
bool Enabled(HWND window, int id);
std::wstring Text(HWND window, int id);
// Empties the edit `id`, clicks into it and types `text`.
void Type(HWND window, int id, const std::wstring& text);
// Queues a key press for the loop that waits next (not pumped here, so that it goes through that loop's
// dialog keys).
void QueueKey(UINT virtualKey);

// The desktop's opener replaced, for a scope, by a script in `folder` that reports the target it is handed.
class ReportingOpener {
public:
    explicit ReportingOpener(const TempFolder& folder);
    ~ReportingOpener();
    // The target, once the script has reported it (it runs on its own); empty when it never does.
    std::wstring Opened() const;

private:
    std::string script_;
};

class PropertyWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs `show` with `act` played inside the loop of the window of `className` once it shows; answers what
    // `show` returned. `act` must end the window (else the test fails and the loop is ended for it).
    int Drive(const wchar_t* className, const std::function<int()>& show,
              const std::function<void(HWND window)>& act);

    // A step that a waiting loop runs after the present one: inside a message box that the present step
    // opens, or after the keys it queued.
    void Later(std::function<void()> step);

    // Runs `action`, which must open a message box, and presses OK on the box; answers the box's text (its
    // line breaks read as spaces), or nothing when no box came.
    std::optional<std::wstring> MessageAfter(const std::function<void()>& action);
    std::optional<std::wstring> PressOkForMessage(HWND window) {
        return MessageAfter([window] { Press(window, 1027); });
    }

    TestClock clock;
    HWND owner = nullptr;

private:
    LoopSteps* steps_ = nullptr;
};

}  // namespace kestrova::uitest
