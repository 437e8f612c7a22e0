#pragma once
// The user, as tests play it on the headless desktop: the pointer and its buttons at screen points, keys and
// typed text, the windows on the screen, and steps that run inside a modal loop. Every action is followed by
// a pump of the calling thread's queue, so its effects are there when the call returns.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/ui/gdi.h"
#include "platform/ui/input.h"
#include "platform/ui/windows.h"

namespace kestrova::uitest {

using ui::MouseButton;

void MoveMouse(POINT screen);
void PressMouse(MouseButton button = MouseButton::Left);
void ReleaseMouse(MouseButton button = MouseButton::Left);
// Moves there, presses and releases.
void Click(POINT screen, MouseButton button = MouseButton::Left);
void DoubleClick(POINT screen);
// Turns the wheel where the pointer is; WHEEL_DELTA a notch.
void TurnWheel(int delta);
// A window's client point on the screen.
POINT OnScreen(HWND hwnd, POINT client);

void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);
void PressKey(UINT virtualKey);
// Types each character: letters, digits and space by their keys (with Shift for capitals), anything else as
// a character of its own.
void TypeText(std::wstring_view text);

// A pixel of a window's client area as the screen would show it (its children included) if nothing covered
// it; CLR_INVALID outside the window, its ancestors or their regions.
COLORREF ReadPixel(HWND hwnd, int x, int y);
// The screen at a point: the pixel of the topmost shown top-level window there (its region counts), or
// CLR_INVALID over the bare desktop.
COLORREF ScreenPixel(POINT screen);

// The top-level windows in z-order, topmost first; only the shown ones unless asked.
std::vector<HWND> TopLevelWindows(bool shownOnly = true);

// Steps for loops that wait. Whenever a message loop of this thread (GetMessageW) finds nothing to do, the
// next step runs inside it; a loop that finds nothing to do when no step is left would wait for ever, so the
// test fails and that loop gets WM_QUIT instead. Lives for a scope.
class LoopSteps {
public:
    LoopSteps();
    ~LoopSteps();
    LoopSteps(const LoopSteps&) = delete;
    LoopSteps& operator=(const LoopSteps&) = delete;

    void Then(std::function<void()> step);
    size_t Pending() const { return steps_.size(); }

private:
    bool RunNext();

    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
};

}  // namespace kestrova::uitest
