#pragma once
// The user's part inside the modal windows and message boxes that the main window's commands open: each
// step waits for the loop of the window it expects, notes what the window says and presses one of its
// buttons, as a person would. A step that no loop ran fails the test when the steps go.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/testing/driver.h"

namespace kestrova::uitest {

// The topmost of the program's shown windows of the class, or null.
HWND Topmost(const wchar_t* className);
// A click in the middle of the window's control `id`.
void Press(HWND window, int id);
// Text with its line breaks read as spaces and runs of spaces as one, as a reader takes it in.
std::wstring Flat(std::wstring_view text);

class ModalSteps {
public:
    // In the message box that is open then: notes its text, ticks "Don't show again" when asked, and presses
    // `button`.
    ModalSteps& Answer(int button, bool dontShowAgain = false);
    // In the window of `className` that is open then: runs `act`, which must end the window.
    ModalSteps& In(const wchar_t* className, std::function<void(HWND window)> act);
    // Ends the window of `className` with its button `id` (OK, Cancel, close).
    ModalSteps& Close(const wchar_t* className, int id);

    // The texts of the boxes answered so far, flattened.
    const std::vector<std::wstring>& Said() const { return said_; }

private:
    LoopSteps steps_;
    std::vector<std::wstring> said_;
};

}  // namespace kestrova::uitest
