// Routing the mouse: capture, hit testing, activation on a press, double clicks and windows dragged by their
// caption; the cursor.

#include "platform/ui/input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/clock.h"
#include "platform/ui/backend.h"
#include "platform/ui/focus.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr UINT kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 2;

WPARAM KeyFlagsLocked() {
    Desktop& d = DesktopLocked();
    WPARAM flags = d.buttons;
    if (d.keys[VK_SHIFT] & 0x80) flags |= MK_SHIFT;
    if (d.keys[VK_CONTROL] & 0x80) flags |= MK_CONTROL;
    return flags;
}

// A mouse message for `w` at the screen point, in its client coordinates.
MSG MouseMessageLocked(Window* w, UINT message, POINT screen) {
    POINT o = ClientOriginLocked(w);
    MSG m;
    m.hwnd = w->handle;
    m.message = message;
    m.wParam = KeyFlagsLocked();
    m.lParam = MAKELPARAM(uint16_t(screen.x - o.x), uint16_t(screen.y - o.y));
    m.time = DWORD(GetClock().Milliseconds());
    m.pt = screen;
    return m;
}

UINT ButtonMessage(MouseButton button, bool down) {
    switch (button) {
        case MouseButton::Left:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case MouseButton::Middle:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
    return 0;
}

WPARAM ButtonFlag(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return MK_LBUTTON;
        case MouseButton::Right:
            return MK_RBUTTON;
        case MouseButton::Middle:
            return MK_MBUTTON;
    }
    return 0;
}

UINT ButtonKey(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return VK_LBUTTON;
        case MouseButton::Right:
            return VK_RBUTTON;
        case MouseButton::Middle:
            return VK_MBUTTON;
    }
    return 0;
}

// A second press of the same button on the same window soon after and close to the first.
bool IsDoubleClickLocked(Window* w, UINT message, POINT screen) {
    Desktop& d = DesktopLocked();
    uint64_t now = GetClock().Milliseconds();
    bool isDouble = (w->windowClass->style & CS_DBLCLKS) && d.lastPressWindow == w->handle &&
                    d.lastPressMessage == message && now - d.lastPressMs <= kDoubleClickMs &&
                    std::abs(screen.x - d.lastPressPos.x) <= kDoubleClickDistance &&
                    std::abs(screen.y - d.lastPressPos.y) <= kDoubleClickDistance;
    if (isDouble) {
        d.lastPressWindow = nullptr;
    } else {
        d.lastPressWindow = w->handle;
        d.lastPressMessage = message;
        d.lastPressMs = now;
        d.lastPressPos = screen;
    }
    return isDouble;
}

void PostTo(Window* w, const MSG& m) {
    w->queue->Post(m);
}

BeepSink& TheBeepSink() {
    static BeepSink* sink = new BeepSink;
    return *sink;
}

}  // namespace

void InjectMouseMove(POINT screen) {
    HWND moving;
    POINT to;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        d.cursorPos = screen;
        moving = d.moving;
        to = POINT{screen.x - d.moveGrab.x, screen.y - d.moveGrab.y};
        if (!moving) {
            Window* target = d.capture ? FindWindowLocked(d.capture) : HitTestLocked(screen);
            if (!target) return;
            if (!d.capture && !IsEnabledChainLocked(target)) return;
            if (!d.capture && d.cursor != target->windowClass->cursor) {
                d.cursor = target->windowClass->cursor;
                BackendLocked().DesktopChanged();
            }
            PostTo(target, MouseMessageLocked(target, WM_MOUSEMOVE, screen));
            return;
        }
    }
    SetWindowPos(moving, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InjectMouseButton(MouseButton button, bool down) {
    UINT message = ButtonMessage(button, down);
    HWND target, root = nullptr;
    POINT screen;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        uint8_t& key = d.keys[ButtonKey(button)];
        if (down) {
            d.buttons |= uint32_t(ButtonFlag(button));
            key |= 0x80;
        } else {
            d.buttons &= ~uint32_t(ButtonFlag(button));
            key &= uint8_t(~0x80);
        }
        screen = d.cursorPos;
        if (d.moving) {
            if (button == MouseButton::Left && !down) d.moving = nullptr;
            return;
        }
        if (Window* captured = FindWindowLocked(d.capture)) {
            PostTo(captured, MouseMessageLocked(captured, message, screen));
            return;
        }
        Window* w = HitTestLocked(screen);
        if (!w || !IsEnabledChainLocked(w)) return;
        target = w->handle;
        if (down) {
            Window* r = RootLocked(w);
            if (r->handle != d.active && !(r->exStyle & WS_EX_NOACTIVATE)) root = r->handle;
        }
    }
    if (!down) {
        TableLock lock = LockTable();
        if (Window* w = FindWindowLocked(target)) PostTo(w, MouseMessageLocked(w, message, screen));
        return;
    }
    LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(uint16_t(screen.x), uint16_t(screen.y)));
    if (root) Activate(root, WA_CLICKACTIVE);
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(target);
    if (!w || hit == HTNOWHERE || hit == HTERROR) return;
    if (hit == HTCAPTION && button == MouseButton::Left) {
        MSG m = MouseMessageLocked(w, WM_NCLBUTTONDOWN, screen);
        m.wParam = WPARAM(HTCAPTION);
        m.lParam = MAKELPARAM(uint16_t(screen.x), uint16_t(screen.y));
        PostTo(w, m);
        return;
    }
    if (IsDoubleClickLocked(w, message, screen)) message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    PostTo(w, MouseMessageLocked(w, message, screen));
}

void InjectMouseWheel(int delta) {
    TableLock lock = LockTable();
    Desktop& d = DesktopLocked();
    Window* w = d.capture ? FindWindowLocked(d.capture) : HitTestLocked(d.cursorPos);
    if (!w || !IsEnabledChainLocked(w)) return;
    MSG m = MouseMessageLocked(w, WM_MOUSEWHEEL, d.cursorPos);
    m.wParam = MAKEWPARAM(uint16_t(KeyFlagsLocked()), uint16_t(int16_t(std::clamp(delta, -32768, 32767))));
    // Unlike the other mouse messages, the wheel's point is in screen coordinates.
    m.lParam = MAKELPARAM(uint16_t(d.cursorPos.x), uint16_t(d.cursorPos.y));
    PostTo(w, m);
}

void SetScreenSize(int width, int height) {
    TableLock lock = LockTable();
    DesktopLocked().screenWidth = width;
    DesktopLocked().screenHeight = height;
}

BeepSink SetBeepSink(BeepSink sink) {
    TableLock lock = LockTable();
    BeepSink old = std::move(TheBeepSink());
    TheBeepSink() = std::move(sink);
    return old;
}

// Starts dragging the root window of `hwnd`, grabbed at the screen point `grab`.
void BeginCaptionDrag(HWND hwnd, POINT grab) {
    TableLock lock = LockTable();
    Window* w = RootLocked(FindWindowLocked(hwnd));
    Desktop& d = DesktopLocked();
    if (!w || !(d.buttons & MK_LBUTTON)) return;
    d.moving = w->handle;
    d.moveGrab = POINT{grab.x - w->rect.left, grab.y - w->rect.top};
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

HWND WindowFromPoint(POINT screen) {
    TableLock lock = LockTable();
    Window* w = HitTestLocked(screen);
    return w ? w->handle : nullptr;
}

HWND SetCapture(HWND hwnd) {
    HWND old;
    {
        TableLock lock = LockTable();
        if (!FindWindowLocked(hwnd)) return nullptr;
        Desktop& d = DesktopLocked();
        old = d.capture;
        d.capture = hwnd;
    }
    if (old && old != hwnd) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture() {
    HWND old;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        old = d.capture;
        d.capture = nullptr;
    }
    if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    TableLock lock = LockTable();
    return DesktopLocked().capture;
}

BOOL GetCursorPos(POINT* point) {
    if (!point) return FALSE;
    TableLock lock = LockTable();
    *point = DesktopLocked().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    NotifyPointerWarped(POINT{x, y});
    InjectMouseMove(POINT{x, y});
    return TRUE;
}

int ShowCursor(BOOL show) {
    TableLock lock = LockTable();
    int& count = DesktopLocked().cursorCount;
    count += show ? 1 : -1;
    BackendLocked().DesktopChanged();
    return count;
}

HCURSOR LoadCursorW(HINSTANCE, const wchar_t* name) {
    if (!IS_INTRESOURCE(name)) return nullptr;
    return reinterpret_cast<HCURSOR>(uintptr_t(name));
}

HCURSOR SetCursor(HCURSOR cursor) {
    TableLock lock = LockTable();
    HCURSOR old = DesktopLocked().cursor;
    DesktopLocked().cursor = cursor;
    if (old != cursor) BackendLocked().DesktopChanged();
    return old;
}

HCURSOR GetCursor() {
    TableLock lock = LockTable();
    return DesktopLocked().cursor;
}

UINT GetDoubleClickTime() {
    return kDoubleClickMs;
}

BOOL MessageBeep(UINT type) {
    BeepSink sink;
    {
        TableLock lock = LockTable();
        sink = TheBeepSink();
    }
    if (sink) sink(type);
    return TRUE;
}
