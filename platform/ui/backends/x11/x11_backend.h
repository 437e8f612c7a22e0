#pragma once
// The desktop on an X display: every shown top-level window of the layer is a borderless X window with the
// window region as its shape, painted from the window's surface; the pointer and the keys come back into the
// layer as input.
//
// One thread of the backend owns the X connection, so Xlib is never shared between threads and the layer's
// threads keep waiting on their own queues: that thread sleeps in poll() on the connection and on a wake-up
// descriptor that the layer's notifications write to, and turns X events into the layer's input calls,
// which queue the messages on the windows' threads.
//
// The windows are override-redirect rather than merely undecorated (Motif hints): a window manager would
// still place, stack and focus decorated-less windows by its own rules, while the layer must decide where a
// window lies (its rectangle is the screen position), which window is topmost and which owned window stays
// above its owner. The backend restacks and gives the keyboard focus itself.
//
// The display's CLIPBOARD selection is the layer's clipboard while the backend is installed: that thread owns
// it for a copy and fetches the owner's text for a paste, while the layer's thread that asked waits.

#include <memory>

#include "platform/ui/backend.h"

namespace kestrova::ui {

class X11Backend : public Backend {
public:
    // Connects to `displayName` (null: $DISPLAY) and sets the layer's screen size to the display's; null when
    // the display does not open or shows no 24-bit true colour.
    static std::unique_ptr<X11Backend> Open(const char* displayName);
    ~X11Backend() override;  // closes the windows and the connection; call with the table unlocked

    const char* Name() const override { return "x11"; }
    void DesktopChanged() override;
    void SurfaceChanged(HWND root, const RECT& area) override;
    void PointerWarped(POINT screen) override;
    // The display's CLIPBOARD selection: a copy makes the program its owner, a paste reads the owner's text
    // (nothing when the owner does not answer within a second).
    ClipboardHook Clipboard() override;

    // Returns once the display has carried out everything asked of the backend before the call (screenshots
    // taken after it show the windows as the layer has them). Call with the table unlocked.
    void Sync();
    // The X window that shows `hwnd`, or 0 when none does yet.
    unsigned long XWindowOf(HWND hwnd);

    struct State;

private:
    explicit X11Backend(std::shared_ptr<State> state);
    std::shared_ptr<State> state_;  // shared with the clipboard hook, which may outlive the backend
};

}  // namespace kestrova::ui
