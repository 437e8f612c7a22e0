#pragma once
// Where the layer's desktop meets a real one. The layer keeps every window, its pixels and the state of the
// mouse and keyboard itself; a backend only shows the top-level windows on a display and hands the user's
// input back through platform/ui/input.h. The headless backend shows nothing: tests drive it with
// platform/ui/testing.

#include <memory>

#include "platform/ui/clipboard.h"
#include "platform/ui/types.h"

namespace kestrova::ui {

class Backend {
public:
    virtual ~Backend() = default;
    virtual const char* Name() const = 0;
    // Whether someone can see and answer the windows: a display's user, or a test driving a headless desktop.
    virtual bool HasUser() const { return true; }
    // What the display shows of the desktop changed: top-level windows came, went, moved, were resized,
    // restacked, shown, hidden, reshaped or activated, or the cursor changed. Called with the table locked,
    // so it must not wait for anything.
    virtual void DesktopChanged() = 0;
    // The pixels of the top-level window `root` changed within `area` (window coordinates). Called with the
    // table locked.
    virtual void SurfaceChanged(HWND root, const RECT& area) = 0;
    // The program moved the pointer to the screen point. Called with the table locked.
    virtual void PointerWarped(POINT screen) = 0;
    // What copy and paste go through while this backend is the installed one; the default (no functions)
    // keeps the clipboard in the process. The hook may outlive the backend and then does nothing.
    virtual ClipboardHook Clipboard() { return {}; }
};

// Headless when the environment asks for it (KESTROVA_UI set to "headless") or no display opens, the X11
// backend on $DISPLAY otherwise.
std::unique_ptr<Backend> ChooseBackend();
// The installed backend, chosen by ChooseBackend on first use. Call with the table locked.
Backend& BackendLocked();
// Installs `backend` (null: a headless one) and returns the one it replaced, for the caller to destroy with
// the table unlocked (a backend may join a thread of its own that takes the table's lock).
std::unique_ptr<Backend> UseBackend(std::unique_ptr<Backend> backend);

// The layer's calls into the backend; each takes the table's lock.
void NotifyDesktopChanged();
// Pixels of the window `hwnd`'s top-level window changed within `area` (the top-level window's coordinates).
void NotifySurfaceChanged(HWND hwnd, const RECT& area);
void NotifyPointerWarped(POINT screen);

}  // namespace kestrova::ui
