// Classes, creating and destroying windows, and the values every window carries.

#include <cstring>

#include "platform/ui/backend.h"
#include "platform/ui/focus.h"
#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/surface.h"
#include "platform/ui/system_classes.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

// Frees the handle, and with it the window's timers and the messages still queued for it.
void Release(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return;
    {
        std::lock_guard<std::mutex> g(w->queue->mutex);
        std::erase_if(w->queue->posted, [&](const MSG& m) { return m.hwnd == hwnd; });
        std::erase_if(w->queue->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
        w->queue->NoteChangeLocked();
    }
    RemoveWindowLocked(hwnd);
    BackendLocked().DesktopChanged();
}

// Destroys `hwnd` and what hangs on it in this order: the windows it owns, WM_DESTROY, its children (each the
// same way), WM_NCDESTROY. A window already on its way out is left to the call that started it.
void DestroyTree(HWND hwnd, bool sendDestroy) {
    if (sendDestroy && IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_HIDE);
    std::vector<HWND> owned;
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w || w->destroying) return;
        w->destroying = true;
        for (Window* other : AllWindowsLocked())
            if (other->owner == hwnd && other->queue == w->queue) owned.push_back(other->handle);
    }
    for (HWND popup : owned) DestroyTree(popup, true);
    if (sendDestroy) CallWindow(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        TableLock lock = LockTable();
        if (Window* w = FindWindowLocked(hwnd)) children = w->children;
    }
    for (HWND child : children) DestroyTree(child, true);
    CallWindow(hwnd, WM_NCDESTROY, 0, 0);
    Release(hwnd);
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

uint16_t RegisterClassExW(const WNDCLASSEXW* wc) {
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || !*wc->lpszClassName) return 0;
    if (wc->cbWndExtra < 0 || wc->cbClsExtra < 0) return 0;
    auto c = std::make_shared<WindowClass>();
    c->name = wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->classExtra = wc->cbClsExtra;
    c->windowExtra = wc->cbWndExtra;
    c->instance = wc->hInstance;
    c->icon = wc->hIcon;
    c->smallIcon = wc->hIconSm;
    c->cursor = wc->hCursor;
    c->background = wc->hbrBackground;
    TableLock lock = LockTable();
    static uint16_t nextAtom = 0xC000;
    if (!AddClassLocked(std::move(c))) return 0;
    return nextAtom++;
}

uint16_t RegisterClassW(const WNDCLASSW* wc) {
    if (!wc) return 0;
    WNDCLASSEXW ex;
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExW(&ex);
}

int GetClassNameW(HWND hwnd, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) {
        buffer[0] = L'\0';
        return 0;
    }
    size_t n = std::min(w->windowClass->name.size(), size_t(capacity - 1));
    std::wmemcpy(buffer, w->windowClass->name.data(), n);
    buffer[n] = L'\0';
    return int(n);
}

BOOL UnregisterClassW(const wchar_t* className, HINSTANCE) {
    if (!className) return FALSE;
    TableLock lock = LockTable();
    auto windowClass = FindClassLocked(className);
    if (!windowClass) return FALSE;
    for (Window* w : AllWindowsLocked())
        if (w->windowClass == windowClass) return FALSE;  // still in use
    return RemoveClassLocked(className);
}

HWND CreateWindowExW(uint32_t exStyle, const wchar_t* className, const wchar_t* windowName, uint32_t style,
                     int x, int y, int width, int height, HWND parent, uintptr_t menuOrId, HINSTANCE instance,
                     void* param) {
    if (!className) return nullptr;
    RegisterSystemClasses();
    HWND hwnd;
    {
        TableLock lock = LockTable();
        auto windowClass = FindClassLocked(className);
        if (!windowClass) return nullptr;
        auto w = std::make_unique<Window>();
        Window* parentWindow = nullptr;
        if (parent == HWND_MESSAGE) {
            w->messageOnly = true;
        } else if (parent) {
            parentWindow = FindWindowLocked(parent);
            if (!parentWindow) return nullptr;
            if (style & WS_CHILD) {
                w->parent = parent;
            } else {
                // A top-level window is owned by the top-level window of the one it was given.
                Window* top = parentWindow;
                while (top->parent) top = FindWindowLocked(top->parent);
                w->owner = top->handle;
                parentWindow = nullptr;
            }
        } else if (style & WS_CHILD) {
            return nullptr;  // a child needs its parent
        }
        w->windowClass = windowClass;
        w->proc = windowClass->proc;
        w->extra.assign(size_t(windowClass->windowExtra), 0);
        w->style = style;
        w->exStyle = exStyle;
        w->instance = instance;
        w->id = (style & WS_CHILD) ? menuOrId : 0;
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) width = height = 0;
        w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        w->queue = CurrentQueue();
        Window* created = w.get();
        hwnd = AddWindowLocked(std::move(w));
        if (parentWindow) parentWindow->children.insert(parentWindow->children.begin(), hwnd);
        if (created->IsTopLevel()) {
            created->surface = std::make_shared<Surface>(created->Width(), created->Height());
            AddTopLevelLocked(created);
        }
    }
    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = style;
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!CallWindow(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyTree(hwnd, false);
        return nullptr;
    }
    if (CallWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    bool activate = false;
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w) return nullptr;
        if (w->style & WS_VISIBLE) {
            InvalidateLocked(w, nullptr, true);
            activate = w->IsTopLevel();
        }
    }
    if (activate) Activate(hwnd, WA_ACTIVE);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w || w->queue != CurrentQueue()) return FALSE;  // only the window's own thread destroys it
        if (w->destroying) return TRUE;
    }
    DestroyTree(hwnd, true);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    TableLock lock = LockTable();
    return FindWindowLocked(hwnd) != nullptr;
}

intptr_t GetWindowLongPtrW(HWND hwnd, int index) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<intptr_t>(w->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<intptr_t>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<intptr_t>(w->parent ? w->parent : w->owner);
        case GWLP_ID:
            return intptr_t(w->id);
        case GWL_STYLE:
            return intptr_t(w->style);
        case GWL_EXSTYLE:
            return intptr_t(w->exStyle);
        case GWLP_USERDATA:
            return w->userData;
    }
    if (index < 0 || size_t(index) + sizeof(intptr_t) > w->extra.size()) return 0;
    intptr_t value;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
}

intptr_t SetWindowLongPtrW(HWND hwnd, int index, intptr_t value) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return 0;
    intptr_t old = GetWindowLongPtrW(hwnd, index);
    switch (index) {
        case GWLP_WNDPROC:
            if (value) w->proc = reinterpret_cast<WNDPROC>(value);
            return old;
        case GWLP_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            return old;
        case GWLP_HWNDPARENT:
            if (!w->parent) w->owner = reinterpret_cast<HWND>(value);
            return old;
        case GWLP_ID:
            w->id = uintptr_t(value);
            return old;
        case GWL_STYLE:
            w->style = uint32_t(value);
            return old;
        case GWL_EXSTYLE:
            w->exStyle = uint32_t(value);
            return old;
        case GWLP_USERDATA:
            w->userData = value;
            return old;
    }
    if (index < 0 || size_t(index) + sizeof(intptr_t) > w->extra.size()) return 0;
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            TableLock lock = LockTable();
            if (Window* w = FindWindowLocked(hwnd)) w->text = cs && cs->lpszName ? cs->lpszName : L"";
            return TRUE;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SETTEXT: {
            TableLock lock = LockTable();
            Window* w = FindWindowLocked(hwnd);
            if (!w) return FALSE;
            w->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            return TRUE;
        }
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            if (!buffer || wParam == 0) return 0;
            TableLock lock = LockTable();
            Window* w = FindWindowLocked(hwnd);
            size_t n = w ? std::min<size_t>(w->text.size(), wParam - 1) : 0;
            if (n) std::wmemcpy(buffer, w->text.data(), n);
            buffer[n] = L'\0';
            return LRESULT(n);
        }
        case WM_GETTEXTLENGTH: {
            TableLock lock = LockTable();
            Window* w = FindWindowLocked(hwnd);
            return w ? LRESULT(w->text.size()) : 0;
        }
        case WM_SETFONT: {
            TableLock lock = LockTable();
            if (Window* w = FindWindowLocked(hwnd)) w->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(uintptr_t(lParam))) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        }
        case WM_GETFONT: {
            TableLock lock = LockTable();
            Window* w = FindWindowLocked(hwnd);
            return w ? reinterpret_cast<LRESULT>(w->font) : 0;
        }
        case WM_NCHITTEST: {
            RECT r;
            if (!GetWindowRect(hwnd, &r)) return HTNOWHERE;
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            return (x >= r.left && x < r.right && y >= r.top && y < r.bottom) ? HTCLIENT : HTNOWHERE;
        }
        case WM_NCLBUTTONDOWN:
            if (wParam == WPARAM(HTCAPTION))
                BeginCaptionDrag(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd)) SetFocus(hwnd);
            return 0;
        case WM_NCACTIVATE:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HBRUSH background;
            {
                TableLock lock = LockTable();
                Window* w = FindWindowLocked(hwnd);
                background = w ? w->windowClass->background : nullptr;
            }
            if (!background) return 0;
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, background);
            return 1;
        }
    }
    return 0;
}
