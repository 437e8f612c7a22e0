// The window tree: relations, z-order, geometry, showing and the enabled state.

#include "platform/ui/window_tree.h"

#include <algorithm>
#include <cwctype>

#include "platform/ui/backend.h"
#include "platform/ui/focus.h"
#include "platform/ui/surface.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {

POINT ClientOriginLocked(const Window* w) {
    POINT p{0, 0};
    for (; w; w = FindWindowLocked(w->parent)) {
        p.x += w->rect.left;
        p.y += w->rect.top;
    }
    return p;
}

RECT ScreenRectLocked(const Window* w) {
    POINT o = ClientOriginLocked(w);
    return RECT{o.x, o.y, o.x + w->Width(), o.y + w->Height()};
}

bool IsShownLocked(const Window* w) {
    if (w->messageOnly) return false;
    for (; w; w = FindWindowLocked(w->parent))
        if (!(w->style & WS_VISIBLE)) return false;
    return true;
}

bool IsEnabledChainLocked(const Window* w) {
    for (; w; w = FindWindowLocked(w->parent))
        if (w->style & WS_DISABLED) return false;
    return true;
}

Window* RootLocked(Window* w) {
    while (w && w->parent) w = FindWindowLocked(w->parent);
    return w;
}

bool IsSelfOrDescendantLocked(HWND ancestor, HWND hwnd) {
    for (Window* w = FindWindowLocked(hwnd); w; w = FindWindowLocked(w->parent))
        if (w->handle == ancestor) return true;
    return false;
}

namespace {

bool HoldsPoint(const Window* w, int xInParent, int yInParent) {
    if (xInParent < w->rect.left || xInParent >= w->rect.right || yInParent < w->rect.top ||
        yInParent >= w->rect.bottom)
        return false;
    return !w->shape || w->shape->Contains(xInParent - w->rect.left, yInParent - w->rect.top);
}

bool IsTopmost(const Window* w) {
    return (w->exStyle & WS_EX_TOPMOST) != 0;
}

// Where a window of the given band goes when raised: the top of the topmost band, or just below it.
size_t TopOfBandLocked(bool topmost) {
    if (topmost) return 0;
    auto& order = DesktopLocked().topLevels;
    size_t i = 0;
    while (i < order.size() && IsTopmost(FindWindowLocked(order[i]))) ++i;
    return i;
}

}  // namespace

Window* HitTestLocked(POINT screen) {
    for (HWND h : DesktopLocked().topLevels) {
        Window* w = FindWindowLocked(h);
        if (!w || !(w->style & WS_VISIBLE) || w->iconic || !HoldsPoint(w, screen.x, screen.y)) continue;
        int x = screen.x - w->rect.left, y = screen.y - w->rect.top;
        for (bool descended = true; descended;) {
            descended = false;
            for (HWND c : w->children) {
                Window* child = FindWindowLocked(c);
                if (!child || !(child->style & WS_VISIBLE) || (child->style & WS_DISABLED) ||
                    !HoldsPoint(child, x, y))
                    continue;
                x -= child->rect.left;
                y -= child->rect.top;
                w = child;
                descended = true;
                break;
            }
        }
        return w;
    }
    return nullptr;
}

void RaiseLocked(Window* w) {
    if (w->parent) {
        Window* parent = FindWindowLocked(w->parent);
        std::erase(parent->children, w->handle);
        parent->children.insert(parent->children.begin(), w->handle);
        return;
    }
    if (!w->IsTopLevel()) return;
    auto& order = DesktopLocked().topLevels;
    std::erase(order, w->handle);
    order.insert(order.begin() + ptrdiff_t(TopOfBandLocked(IsTopmost(w))), w->handle);
    // Owned windows stay above their owner, in the order they had.
    std::vector<Window*> owned;
    for (HWND h : order)
        if (Window* o = FindWindowLocked(h); o && o->owner == w->handle) owned.push_back(o);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) RaiseLocked(*it);
    BackendLocked().DesktopChanged();
}

void AddTopLevelLocked(Window* w) {
    auto& order = DesktopLocked().topLevels;
    order.insert(order.begin() + ptrdiff_t(TopOfBandLocked(IsTopmost(w))), w->handle);
    BackendLocked().DesktopChanged();
}

void InvalidateLocked(Window* w, const Region* area, bool erase) {
    if (w->messageOnly) return;
    Region part(RECT{0, 0, w->Width(), w->Height()});
    if (area) part.Intersect(*area);
    if (part.Empty()) return;
    w->update.Union(part);
    w->eraseNeeded = w->eraseNeeded || erase;
    {
        std::lock_guard<std::mutex> g(w->queue->mutex);
        w->queue->paintRequested = true;
        w->queue->NoteChangeLocked();
    }
    if (w->style & WS_CLIPCHILDREN) return;
    for (HWND c : w->children) {
        Window* child = FindWindowLocked(c);
        if (!child || !(child->style & WS_VISIBLE)) continue;
        Region inChild(part);
        inChild.Offset(-child->rect.left, -child->rect.top);
        InvalidateLocked(child, &inChild, erase);
    }
}

void InvalidateParentAreaLocked(Window* w, const RECT& rectInParent) {
    if (Window* parent = FindWindowLocked(w->parent)) {
        Region area(rectInParent);
        InvalidateLocked(parent, &area, true);
    }
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

namespace {

Window* Find(HWND hwnd) {
    return FindWindowLocked(hwnd);
}

// The windows a search walks: the top-level windows, the message-only ones, or a window's children.
std::vector<HWND> SiblingsLocked(HWND parent) {
    if (!parent) return DesktopLocked().topLevels;
    std::vector<HWND> found;
    if (parent == HWND_MESSAGE) {
        for (Window* w : AllWindowsLocked())
            if (w->messageOnly) found.push_back(w->handle);
        return found;
    }
    if (Window* p = Find(parent)) found = p->children;
    return found;
}

bool SameClassName(const Window* w, const wchar_t* name) {
    const std::wstring& own = w->windowClass->name;
    std::wstring other = name;
    return own.size() == other.size() &&
           std::equal(own.begin(), own.end(), other.begin(), [](wchar_t a, wchar_t b) {
               return std::towlower(wint_t(a)) == std::towlower(wint_t(b));
           });
}

void SendShowWindow(HWND hwnd, bool show) {
    SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
}

// Makes a hidden window visible, with its whole area to paint.
void Reveal(HWND hwnd) {
    SendShowWindow(hwnd, true);
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w || (w->style & WS_VISIBLE)) return;
    w->style |= WS_VISIBLE;
    InvalidateLocked(w, nullptr, true);
    BackendLocked().DesktopChanged();
}

void Conceal(HWND hwnd) {
    SendShowWindow(hwnd, false);
    {
        TableLock lock = LockTable();
        Window* w = Find(hwnd);
        if (!w || !(w->style & WS_VISIBLE)) return;
        w->style &= ~WS_VISIBLE;
        w->update.Clear();
        if (w->parent) InvalidateParentAreaLocked(w, w->rect);
        BackendLocked().DesktopChanged();
    }
    ActivateAnotherThan(hwnd);
    DropFocusAndCaptureIn(hwnd);
}

}  // namespace

HWND GetParent(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    if (w->parent) return w->parent;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    if (relation == GW_OWNER) return w->parent ? nullptr : w->owner;
    if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    std::vector<HWND> siblings =
        w->parent ? Find(w->parent)->children : SiblingsLocked(w->messageOnly ? HWND_MESSAGE : nullptr);
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    if (it == siblings.end()) return nullptr;
    switch (relation) {
        case GW_HWNDFIRST:
            return siblings.front();
        case GW_HWNDLAST:
            return siblings.back();
        case GW_HWNDNEXT:
            return it + 1 == siblings.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return it == siblings.begin() ? nullptr : *(it - 1);
    }
    return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT kind) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    if (kind == GA_PARENT) return w->parent;
    Window* root = RootLocked(w);
    if (kind == GA_ROOTOWNER)
        while (Window* owner = Find(root->owner)) root = owner;
    return root->handle;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    TableLock lock = LockTable();
    return parent != hwnd && IsSelfOrDescendantLocked(parent, hwnd);
}

HWND GetDlgItem(HWND parent, int id) {
    TableLock lock = LockTable();
    Window* p = Find(parent);
    if (!p) return nullptr;
    for (HWND c : p->children)
        if (Window* child = Find(c); child && child->id == uintptr_t(id)) return c;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    return w ? int(w->id) : 0;
}

LRESULT SendDlgItemMessageW(HWND parent, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(parent, id);
    return item ? SendMessageW(item, msg, wParam, lParam) : 0;
}

HWND FindWindowExW(HWND parent, HWND after, const wchar_t* className, const wchar_t* windowName) {
    TableLock lock = LockTable();
    std::vector<HWND> candidates = SiblingsLocked(parent);
    auto it = candidates.begin();
    if (after) {
        it = std::find(candidates.begin(), candidates.end(), after);
        if (it == candidates.end()) return nullptr;
        ++it;
    }
    for (; it != candidates.end(); ++it) {
        Window* w = Find(*it);
        if (!w || w->destroying) continue;
        if (className && !SameClassName(w, className)) continue;
        if (windowName && w->text != windowName) continue;
        return *it;
    }
    return nullptr;
}

HWND FindWindowW(const wchar_t* className, const wchar_t* windowName) {
    return FindWindowExW(nullptr, nullptr, className, windowName);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    std::vector<HWND> windows;
    {
        TableLock lock = LockTable();
        windows = DesktopLocked().topLevels;
    }
    for (HWND h : windows)
        if (IsWindow(h) && !proc(h, lParam)) return FALSE;
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    std::vector<HWND> windows;
    {
        TableLock lock = LockTable();
        windows = SelfAndDescendantsLocked(parent);
        if (!windows.empty()) windows.erase(windows.begin());
    }
    for (HWND h : windows)
        if (IsWindow(h) && !proc(h, lParam)) return FALSE;
    return TRUE;
}

BOOL SetWindowTextW(HWND hwnd, const wchar_t* text) {
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = L'\0';
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(capacity), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    *rect = ScreenRectLocked(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w || !rect) return FALSE;
    *rect = RECT{0, 0, w->Width(), w->Height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginLocked(w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginLocked(w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    TableLock lock = LockTable();
    POINT a{0, 0}, b{0, 0};
    if (from) {
        Window* w = Find(from);
        if (!w) return 0;
        a = ClientOriginLocked(w);
    }
    if (to) {
        Window* w = Find(to);
        if (!w) return 0;
        b = ClientOriginLocked(w);
    }
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return int(MAKELPARAM(uint16_t(dx), uint16_t(dy)));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    bool moved = false, sized = false, child = false;
    RECT now;
    {
        TableLock lock = LockTable();
        Window* w = Find(hwnd);
        if (!w) return FALSE;
        child = w->parent != nullptr;
        RECT old = w->rect;
        RECT next = old;
        if (!(flags & SWP_NOMOVE)) {
            next.left = x;
            next.top = y;
        }
        next.right = next.left + ((flags & SWP_NOSIZE) ? w->Width() : std::max(width, 0));
        next.bottom = next.top + ((flags & SWP_NOSIZE) ? w->Height() : std::max(height, 0));
        moved = next.left != old.left || next.top != old.top;
        sized =
            next.right - next.left != old.right - old.left || next.bottom - next.top != old.bottom - old.top;
        w->rect = next;
        if (sized && w->surface) w->surface->Resize(w->Width(), w->Height());
        if (!(flags & SWP_NOZORDER)) {
            if (insertAfter == HWND_TOPMOST) {
                w->exStyle |= WS_EX_TOPMOST;
                RaiseLocked(w);
            } else if (insertAfter == HWND_NOTOPMOST) {
                if (w->exStyle & WS_EX_TOPMOST) {
                    w->exStyle &= ~WS_EX_TOPMOST;
                    RaiseLocked(w);
                }
            } else if (insertAfter == HWND_TOP) {
                RaiseLocked(w);
            } else {
                std::vector<HWND>& order = child ? Find(w->parent)->children : DesktopLocked().topLevels;
                if (std::find(order.begin(), order.end(), hwnd) != order.end()) {
                    std::erase(order, hwnd);
                    auto at = insertAfter == HWND_BOTTOM ? order.end()
                                                         : std::find(order.begin(), order.end(), insertAfter);
                    if (at != order.end()) ++at;
                    if (insertAfter == HWND_BOTTOM) w->exStyle &= ~WS_EX_TOPMOST;
                    order.insert(at, hwnd);
                }
            }
        }
        if ((moved || sized) && child && (w->style & WS_VISIBLE) && !(flags & SWP_NOREDRAW)) {
            InvalidateParentAreaLocked(w, old);
            InvalidateParentAreaLocked(w, next);
        }
        if (sized && !(flags & SWP_NOREDRAW)) InvalidateLocked(w, nullptr, true);
        now = w->rect;
        if (!child) BackendLocked().DesktopChanged();
    }
    if (moved) SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(uint16_t(now.left), uint16_t(now.top)));
    if (sized)
        SendMessageW(hwnd, WM_SIZE, 0,
                     MAKELPARAM(uint16_t(now.right - now.left), uint16_t(now.bottom - now.top)));
    if (flags & SWP_SHOWWINDOW) Reveal(hwnd);
    if (flags & SWP_HIDEWINDOW) Conceal(hwnd);
    if (!child && !(flags & SWP_NOACTIVATE) && !(flags & SWP_HIDEWINDOW) && IsWindowVisible(hwnd))
        Activate(hwnd, WA_ACTIVE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int GetSystemMetrics(int index) {
    TableLock lock = LockTable();
    switch (index) {
        // The screen is the display's: a program that places its first window by the screen's size asks
        // before anything else has chosen the backend, which learns the size as it opens the display.
        case SM_CXSCREEN:
            BackendLocked();
            return DesktopLocked().screenWidth;
        case SM_CYSCREEN:
            BackendLocked();
            return DesktopLocked().screenHeight;
        case SM_CXVSCROLL:
            return 17;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
    }
    return 0;
}

BOOL ShowWindow(HWND hwnd, int command) {
    bool wasVisible, topLevel;
    {
        TableLock lock = LockTable();
        Window* w = Find(hwnd);
        if (!w || w->messageOnly) return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        topLevel = w->IsTopLevel();
        switch (command) {
            case SW_MINIMIZE:
            case SW_SHOWMINIMIZED:
            case SW_SHOWMINNOACTIVE:
                w->iconic = true;
                break;
            case SW_RESTORE:
            case SW_SHOWNORMAL:
            case SW_SHOWMAXIMIZED:
                w->iconic = false;
                break;
        }
        BackendLocked().DesktopChanged();
    }
    switch (command) {
        case SW_HIDE:
            Conceal(hwnd);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            Reveal(hwnd);
            ActivateAnotherThan(hwnd);
            break;
        case SW_SHOWNA:
        case SW_SHOWNOACTIVATE:
            Reveal(hwnd);
            break;
        default:
            Reveal(hwnd);
            if (topLevel) Activate(hwnd, WA_ACTIVE);
            break;
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    return w && IsShownLocked(w);
}

BOOL IsIconic(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    return w && w->iconic;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled;
    {
        TableLock lock = LockTable();
        Window* w = Find(hwnd);
        if (!w) return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (wasDisabled == !enable) return wasDisabled;
        if (enable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
    }
    if (!enable) DropFocusAndCaptureIn(hwnd);
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = Find(hwnd);
    return w && !(w->style & WS_DISABLED);
}
