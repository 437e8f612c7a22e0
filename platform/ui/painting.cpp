#include "platform/ui/painting.h"

#include "platform/ui/gdi.h"
#include "platform/ui/window_tree.h"

namespace kestrova::ui {
namespace {

Window* FindInTreeLocked(Window* w, ThreadQueue* queue, const std::function<bool(HWND)>& matches) {
    if (!w || !(w->style & WS_VISIBLE) || w->iconic) return nullptr;
    if (w->queue.get() == queue && !w->update.Empty() && matches(w->handle)) return w;
    for (HWND c : w->children)
        if (Window* found = FindInTreeLocked(FindWindowLocked(c), queue, matches)) return found;
    return nullptr;
}

bool AnyToPaintLocked(Window* w, ThreadQueue* queue) {
    return FindInTreeLocked(w, queue, [](HWND) { return true; }) != nullptr;
}

}  // namespace

Window* FindWindowToPaintLocked(ThreadQueue* queue, const std::function<bool(HWND)>& matches) {
    bool any = false;
    for (HWND h : DesktopLocked().topLevels) {
        Window* w = FindWindowLocked(h);
        if (Window* found = FindInTreeLocked(w, queue, matches)) return found;
        any = any || AnyToPaintLocked(w, queue);
    }
    if (!any) {
        std::lock_guard<std::mutex> g(queue->mutex);
        queue->paintRequested = false;
    }
    return nullptr;
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return FALSE;
    if (rect) {
        Region area(*rect);
        InvalidateLocked(w, &area, erase != FALSE);
    } else {
        InvalidateLocked(w, nullptr, erase != FALSE);
    }
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return FALSE;
    if (rect)
        w->update.Subtract(Region(*rect));
    else
        w->update.Clear();
    if (w->update.Empty()) w->eraseNeeded = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return FALSE;
    if (rect) *rect = w->update.Bounds();
    return !w->update.Empty();
}

BOOL UpdateWindow(HWND hwnd) {
    std::vector<HWND> tree;
    {
        TableLock lock = LockTable();
        if (!FindWindowLocked(hwnd)) return FALSE;
        tree = SelfAndDescendantsLocked(hwnd);
    }
    for (HWND h : tree) {
        bool needed;
        {
            TableLock lock = LockTable();
            Window* w = FindWindowLocked(h);
            needed = w && IsShownLocked(w) && !w->update.Empty() && w->queue == CurrentQueue();
        }
        if (needed) SendMessageW(h, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    BOOL erase = (flags & RDW_ERASE) ? TRUE : FALSE;
    if (flags & RDW_INVALIDATE)
        region ? InvalidateRgn(hwnd, region, erase) : InvalidateRect(hwnd, rect, erase);
    if (flags & RDW_VALIDATE) region ? ValidateRgn(hwnd, region) : ValidateRect(hwnd, rect);
    if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
    return TRUE;
}
