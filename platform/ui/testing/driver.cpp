#include "platform/ui/testing/driver.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "platform/ui/gdi_objects.h"
#include "platform/ui/testing/message_pump.h"
#include "platform/ui/thread_queue.h"
#include "platform/ui/window_tree.h"

namespace kestrova::uitest {

void MoveMouse(POINT screen) {
    ui::InjectMouseMove(screen);
    PumpMessages();
}

void PressMouse(MouseButton button) {
    ui::InjectMouseButton(button, true);
    PumpMessages();
}

void ReleaseMouse(MouseButton button) {
    ui::InjectMouseButton(button, false);
    PumpMessages();
}

void Click(POINT screen, MouseButton button) {
    MoveMouse(screen);
    PressMouse(button);
    ReleaseMouse(button);
}

void DoubleClick(POINT screen) {
    Click(screen);
    Click(screen);
}

void TurnWheel(int delta) {
    ui::InjectMouseWheel(delta);
    PumpMessages();
}

POINT OnScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

void KeyDown(UINT virtualKey) {
    ui::InjectKey(virtualKey, true);
    PumpMessages();
}

void KeyUp(UINT virtualKey) {
    ui::InjectKey(virtualKey, false);
    PumpMessages();
}

void PressKey(UINT virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void TypeText(std::wstring_view text) {
    for (wchar_t ch : text) {
        if ((ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') || ch == L' ') {
            PressKey(UINT(std::towupper(wint_t(ch))));
        } else if (ch >= L'A' && ch <= L'Z') {
            KeyDown(VK_SHIFT);
            PressKey(UINT(ch));
            KeyUp(VK_SHIFT);
        } else {
            ui::InjectKey(VK_PACKET, true, ch);
            ui::InjectKey(VK_PACKET, false, ch);
            PumpMessages();
        }
    }
}

COLORREF ReadPixel(HWND hwnd, int x, int y) {
    ui::TableLock lock = ui::LockTable();
    ui::Window* w = ui::FindWindowLocked(hwnd);
    if (!w || !ui::IsShownLocked(w) || x < 0 || y < 0 || x >= w->Width() || y >= w->Height())
        return CLR_INVALID;
    // Up through the ancestors: the point must lie inside each of them and their regions.
    ui::Window* root = w;
    for (ui::Window* a = w; a; a = ui::FindWindowLocked(a->parent)) {
        if (x < 0 || y < 0 || x >= a->Width() || y >= a->Height()) return CLR_INVALID;
        if (a->shape && !a->shape->Contains(x, y)) return CLR_INVALID;
        root = a;
        if (a->parent) {
            x += a->rect.left;
            y += a->rect.top;
        }
    }
    const ui::Surface& s = *root->surface;
    return ui::FromPixel(s.Pixels()[size_t(y) * size_t(s.Width()) + size_t(x)]);
}

COLORREF ScreenPixel(POINT screen) {
    for (HWND h : TopLevelWindows()) {
        RECT r;
        GetWindowRect(h, &r);
        if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom) continue;
        int x = screen.x - r.left, y = screen.y - r.top;
        HRGN shape = CreateRectRgn(0, 0, 0, 0);
        bool outside = GetWindowRgn(h, shape) != RGN_ERROR && !PtInRegion(shape, x, y);
        DeleteObject(shape);
        if (!outside) return ReadPixel(h, x, y);
    }
    return CLR_INVALID;
}

namespace {

BOOL CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(bool shownOnly) {
    std::vector<HWND> all, shown;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    if (!shownOnly) return all;
    for (HWND h : all)
        if (IsWindowVisible(h)) shown.push_back(h);
    return shown;
}

LoopSteps::LoopSteps() {
    ui::CurrentQueue()->idleHook = [this] { return RunNext(); };
}

LoopSteps::~LoopSteps() {
    ui::CurrentQueue()->idleHook = nullptr;
    EXPECT_EQ(next_, steps_.size()) << "steps left that no loop ran";
}

void LoopSteps::Then(std::function<void()> step) {
    steps_.push_back(std::move(step));
}

bool LoopSteps::RunNext() {
    if (next_ == steps_.size()) {
        ADD_FAILURE() << "a message loop waits with nothing pending and no step left";
        PostQuitMessage(0);
        return true;
    }
    // Taken before it runs: a step may open a loop of its own that runs the steps after it.
    auto step = std::move(steps_[next_++]);
    step();
    // The step's own pump has taken every message it caused, so the waiting loop would not look at its
    // condition again (a dialog that was closed, a menu item that was chosen): hand it one message, as real
    // input would.
    PostMessageW(nullptr, WM_NULL, 0, 0);
    return true;
}

}  // namespace kestrova::uitest
