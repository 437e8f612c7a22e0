// Activation (which top-level window the user works in) and the keyboard focus (which window gets keys).

#include "platform/ui/focus.h"

#include "platform/ui/backend.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

bool CanActivateLocked(const Window* w) {
    return w && w->IsTopLevel() && !w->destroying && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
           !w->iconic && !(w->exStyle & WS_EX_NOACTIVATE);
}

}  // namespace

void Activate(HWND hwnd, WPARAM how) {
    HWND old;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        Window* w = FindWindowLocked(hwnd);
        if (hwnd && (!w || !w->IsTopLevel())) return;
        if (w) RaiseLocked(w);
        old = d.active;
        if (old == hwnd) return;
        d.active = hwnd;
        BackendLocked().DesktopChanged();
    }
    if (IsWindow(old)) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd) {
        SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
        SendMessageW(hwnd, WM_ACTIVATE, how, reinterpret_cast<LPARAM>(old));
    }
    // The focus never stays in a window that is no longer active.
    HWND focus = GetFocus();
    bool stale;
    {
        TableLock lock = LockTable();
        stale = focus && !IsSelfOrDescendantLocked(DesktopLocked().active, focus);
    }
    if (stale) SetFocus(nullptr);
}

void ActivateAnotherThan(HWND leaving) {
    HWND next = nullptr;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        Window* w = FindWindowLocked(leaving);
        if (!w || d.active != leaving) return;
        Window* owner = FindWindowLocked(w->owner);
        if (CanActivateLocked(owner)) {
            next = owner->handle;
        } else {
            for (HWND h : d.topLevels) {
                Window* other = FindWindowLocked(h);
                if (h != leaving && CanActivateLocked(other) && other->queue == w->queue &&
                    other->owner != leaving) {
                    next = h;
                    break;
                }
            }
        }
    }
    Activate(next, WA_ACTIVE);
}

void DropFocusAndCaptureIn(HWND hwnd) {
    bool focusInside, captureInside;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        focusInside = d.focus && IsSelfOrDescendantLocked(hwnd, d.focus);
        captureInside = d.capture && IsSelfOrDescendantLocked(hwnd, d.capture);
    }
    if (focusInside) SetFocus(nullptr);
    if (captureInside) ReleaseCapture();
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

HWND SetFocus(HWND hwnd) {
    HWND root = nullptr;
    {
        TableLock lock = LockTable();
        if (hwnd) {
            Window* w = FindWindowLocked(hwnd);
            if (!w || w->messageOnly) return nullptr;
            Window* r = RootLocked(w);
            if (r->handle != DesktopLocked().active) root = r->handle;
        }
    }
    if (root) Activate(root, WA_ACTIVE);
    HWND old;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        old = d.focus;
        if (old == hwnd) return old;
        if (hwnd && !FindWindowLocked(hwnd)) return nullptr;
        d.focus = hwnd;
    }
    if (IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && GetFocus() == hwnd) SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() {
    TableLock lock = LockTable();
    return DesktopLocked().focus;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND old = GetActiveWindow();
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w || !w->IsTopLevel()) return nullptr;
    }
    Activate(hwnd, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    TableLock lock = LockTable();
    return DesktopLocked().active;
}

BOOL SetForegroundWindow(HWND hwnd) {
    return SetActiveWindow(hwnd) || GetActiveWindow() == hwnd;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}
