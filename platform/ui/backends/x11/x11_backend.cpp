#include "platform/ui/backends/x11/x11_backend.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/base/debug.h"
#include "platform/ui/backends/x11/x11_clipboard.h"
#include "platform/ui/backends/x11/x11_keys.h"
#include "platform/ui/backends/x11/x11_mirror.h"
#include "platform/ui/backends/x11/xlib.h"
#include "platform/ui/input.h"
#include "platform/ui/messages.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {

struct X11Backend::State {
    Display* display = nullptr;
    int wake = -1;  // an eventfd: the layer's requests wake the backend's thread through it
    std::unique_ptr<X11Mirror> mirror;
    std::unique_ptr<X11Clipboard> clipboard;
    std::thread thread;

    std::mutex mutex;
    std::condition_variable synced;  // the layer's threads wait on it for the answers below
    // What the layer asked for since the thread last looked, guarded by `mutex`.
    bool stop = false;
    bool reconcile = false;
    std::map<HWND, Region> damage;
    std::optional<POINT> warp;
    uint64_t syncAsked = 0;
    uint64_t syncDone = 0;
    std::optional<std::wstring> copied;  // the text to take the clipboard with
    uint64_t pasteAsked = 0;
    uint64_t pasteDone = 0;
    std::wstring pasted;            // the answer to the pastes asked up to pasteDone
    std::map<HWND, ::Window> xids;  // the mirror's windows as of its last pass, for XWindowOf
};

namespace {

// Requests that race with the X server (a window the server has already destroyed, the focus given to a
// window being unmapped) fail harmlessly; Xlib's default handler would end the process.
int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

void Wake(X11Backend::State& s) {
    uint64_t one = 1;
    if (write(s.wake, &one, sizeof one) < 0) {
        // The counter is full, so a wake-up is already pending.
    }
}

// Waits with `lock` held on the state's mutex until `done` holds or the backend stops. The backend's thread
// may be handing input to a window of this thread and wait for its answer (a hit test), so this thread keeps
// answering what is sent to it while it waits.
void Await(X11Backend::State& s, std::unique_lock<std::mutex>& lock, const std::function<bool()>& done) {
    while (!s.synced.wait_for(lock, std::chrono::milliseconds(10), [&] { return s.stop || done(); })) {
        lock.unlock();
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
        lock.lock();
    }
}

void MovePointer(POINT screen) {
    POINT known;
    GetCursorPos(&known);
    // A move to where the layer already has the pointer is the echo of SetCursorPos, not the user's.
    if (known.x != screen.x || known.y != screen.y) InjectMouseMove(screen);
}

void SyncKey(UINT virtualKey, bool down) {
    if (((GetKeyState(int(virtualKey)) & 0x8000) != 0) != down) InjectKey(virtualKey, down);
}

// The layer's Shift, Ctrl and Caps Lock as the X server had them when the event happened: a program that
// types (or a key pressed while another window had the focus) changes them without key events of their own.
void SyncModifiers(unsigned state) {
    SyncKey(VK_SHIFT, (state & ShiftMask) != 0);
    SyncKey(VK_CONTROL, (state & ControlMask) != 0);
    if (((state & LockMask) != 0) != ((GetKeyState(VK_CAPITAL) & 0x01) != 0)) {
        InjectKey(VK_CAPITAL, true);
        InjectKey(VK_CAPITAL, false);
    }
}

std::optional<MouseButton> ButtonOf(unsigned button) {
    switch (button) {
        case Button1:
            return MouseButton::Left;
        case Button2:
            return MouseButton::Middle;
        case Button3:
            return MouseButton::Right;
    }
    return std::nullopt;  // the wheel and extra buttons
}

// X reports a notch of the wheel as a click of button 4 (away from the user) or 5; 6 and 7, the sideways
// wheel, the layer has no message for.
bool IsWheel(unsigned button) {
    return button >= 4 && button <= 7;
}

// Hands one X event to the layer; true when the display may need bringing in line with the desktop again.
bool HandleEvent(X11Backend::State& s, XEvent& e) {
    switch (e.type) {
        case Expose:
            s.mirror->PaintExposed(e.xexpose.window,
                                   RECT{e.xexpose.x, e.xexpose.y, e.xexpose.x + e.xexpose.width,
                                        e.xexpose.y + e.xexpose.height});
            return false;
        case MotionNotify: {
            // Only where the pointer ended up matters.
            XEvent later;
            while (XCheckTypedEvent(s.display, MotionNotify, &later)) e = later;
            MovePointer(POINT{e.xmotion.x_root, e.xmotion.y_root});
            return false;
        }
        case ButtonPress:
        case ButtonRelease:
            if (IsWheel(e.xbutton.button)) {
                if (e.type == ButtonPress && e.xbutton.button <= 5) {
                    SyncModifiers(e.xbutton.state);
                    MovePointer(POINT{e.xbutton.x_root, e.xbutton.y_root});
                    InjectMouseWheel(e.xbutton.button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
                }
                return false;  // a turn of the wheel neither activates nor takes the keyboard
            }
            if (auto button = ButtonOf(e.xbutton.button)) {
                SyncModifiers(e.xbutton.state);
                MovePointer(POINT{e.xbutton.x_root, e.xbutton.y_root});
                InjectMouseButton(*button, e.type == ButtonPress);
            }
            if (e.type != ButtonPress) return false;
            s.mirror->Refocus();
            return true;
        case KeyPress:
        case KeyRelease: {
            char text[16];
            KeySym sym = NoSymbol;
            XLookupString(&e.xkey, text, sizeof text, &sym, nullptr);
            LayerKey key = LayerKeyOf(sym, e.xkey.state & ShiftMask, e.xkey.state & LockMask);
            SyncModifiers(e.xkey.state);
            if (key.virtualKey) InjectKey(key.virtualKey, e.type == KeyPress, key.ch);
            return false;
        }
        case SelectionRequest:
        case SelectionClear:
        case SelectionNotify:
        case PropertyNotify:
            s.clipboard->Handle(e);
            return false;
        case MappingNotify:
            // Programs that type remap spare key codes to the characters they send.
            XRefreshKeyboardMapping(&e.xmapping);
            return false;
        case ConfigureNotify:
        case MapNotify:
        case CirculateNotify:
            // Another program may have raised a window above one of ours that must stay on top.
            return true;
    }
    return false;
}

void Run(X11Backend::State& s) {
    bool restack = false;
    uint64_t pasteFetched = 0;  // the last paste asked for when the clipboard began fetching
    for (;;) {
        while (XPending(s.display)) {
            XEvent e;
            XNextEvent(s.display, &e);
            restack = HandleEvent(s, e) || restack;
        }
        bool reconcile;
        std::map<HWND, Region> damage;
        std::optional<POINT> warp;
        uint64_t syncAsked;
        std::optional<std::wstring> copied;
        uint64_t pasteAsked;
        {
            std::lock_guard<std::mutex> g(s.mutex);
            if (s.stop) return;
            reconcile = s.reconcile || restack;
            s.reconcile = false;
            damage.swap(s.damage);
            warp = s.warp;
            s.warp.reset();
            syncAsked = s.syncAsked;
            copied.swap(s.copied);
            pasteAsked = s.pasteAsked;
        }
        restack = false;
        if (reconcile) {
            s.mirror->Reconcile();
            std::lock_guard<std::mutex> g(s.mutex);
            s.xids = s.mirror->XWindows();
        }
        if (warp) XWarpPointer(s.display, None, DefaultRootWindow(s.display), 0, 0, 0, 0, warp->x, warp->y);
        for (auto& [hwnd, area] : damage) s.mirror->Paint(hwnd, area.Bounds());
        // The copy goes first: a paste asked after it gets its text.
        if (copied) s.clipboard->Own(*copied);
        if (pasteAsked > pasteFetched && !s.clipboard->Pasting()) {
            s.clipboard->AskPaste();
            pasteFetched = pasteAsked;
        }
        std::optional<std::wstring> pasted = s.clipboard->TakePasted();
        XSync(s.display, False);
        {
            std::lock_guard<std::mutex> g(s.mutex);
            if (syncAsked > s.syncDone) {
                s.syncDone = syncAsked;
                s.synced.notify_all();
            }
            if (pasted) {
                s.pasted = std::move(*pasted);
                s.pasteDone = pasteFetched;
                s.synced.notify_all();
            }
        }
        if (XEventsQueued(s.display, QueuedAfterFlush)) continue;
        pollfd fds[2] = {{ConnectionNumber(s.display), POLLIN, 0}, {s.wake, POLLIN, 0}};
        // A paste still awaited wakes the thread when its owner has had long enough.
        if (poll(fds, 2, s.clipboard->MillisecondsLeft()) < 0) continue;  // interrupted by a signal
        if (fds[1].revents & POLLIN) {
            uint64_t count;
            if (read(s.wake, &count, sizeof count) < 0) {
                // Nothing to read: another pass looks at the requests anyway.
            }
        }
    }
}

bool ShowsTrueColour(Display* d) {
    Visual* v = DefaultVisual(d, DefaultScreen(d));
    int depth = DefaultDepth(d, DefaultScreen(d));
    return v->c_class == TrueColor && (depth == 24 || depth == 32) && v->red_mask == 0xFF0000 &&
           v->green_mask == 0x00FF00 && v->blue_mask == 0x0000FF;
}

}  // namespace

std::unique_ptr<X11Backend> X11Backend::Open(const char* displayName) {
    // Each backend's connection stays on its own thread, but tests open more than one, and a process may hold
    // other connections (the notification-area icon's): Xlib must guard its shared state.
    XInitThreads();
    Display* d = XOpenDisplay(displayName);
    if (!d) return nullptr;
    int shapeEvent, shapeError;
    if (!XShapeQueryExtension(d, &shapeEvent, &shapeError) || !ShowsTrueColour(d)) {
        DebugOutput(
            std::string_view("the X display lacks the shape extension or 24-bit colour; running headless\n"));
        XCloseDisplay(d);
        return nullptr;
    }
    int wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake < 0) {
        XCloseDisplay(d);
        return nullptr;
    }
    XSetErrorHandler(IgnoreError);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    SetScreenSize(DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d)));
    auto state = std::make_shared<State>();
    state->display = d;
    state->wake = wake;
    state->mirror = std::make_unique<X11Mirror>(d);
    state->clipboard = std::make_unique<X11Clipboard>(d);
    state->reconcile = true;
    State* s = state.get();
    state->thread = std::thread([s] { Run(*s); });
    return std::unique_ptr<X11Backend>(new X11Backend(std::move(state)));
}

X11Backend::X11Backend(std::shared_ptr<State> state) : state_(std::move(state)) {}

X11Backend::~X11Backend() {
    {
        std::lock_guard<std::mutex> g(state_->mutex);
        state_->stop = true;
        Wake(*state_);
        state_->synced.notify_all();  // a copy or paste waiting gets nothing
    }
    state_->thread.join();
    state_->clipboard.reset();
    state_->mirror.reset();
    XCloseDisplay(state_->display);
    close(state_->wake);
}

void X11Backend::DesktopChanged() {
    std::lock_guard<std::mutex> g(state_->mutex);
    if (state_->reconcile) return;
    state_->reconcile = true;
    Wake(*state_);
}

void X11Backend::SurfaceChanged(HWND root, const RECT& area) {
    std::lock_guard<std::mutex> g(state_->mutex);
    state_->damage[root].Union(Region(area));
    Wake(*state_);
}

void X11Backend::PointerWarped(POINT screen) {
    std::lock_guard<std::mutex> g(state_->mutex);
    state_->warp = screen;
    Wake(*state_);
}

void X11Backend::Sync() {
    std::unique_lock<std::mutex> lock(state_->mutex);
    uint64_t ticket = ++state_->syncAsked;
    Wake(*state_);
    Await(*state_, lock, [&] { return state_->syncDone >= ticket; });
}

ClipboardHook X11Backend::Clipboard() {
    std::shared_ptr<State> s = state_;
    ClipboardHook hook;
    hook.set = [s](std::wstring_view text) {
        std::unique_lock<std::mutex> lock(s->mutex);
        if (s->stop) return;
        s->copied.emplace(text);
        // Once the pass that takes the text is over, other programs find the program the owner.
        uint64_t ticket = ++s->syncAsked;
        Wake(*s);
        Await(*s, lock, [&] { return s->syncDone >= ticket; });
    };
    hook.get = [s] {
        std::unique_lock<std::mutex> lock(s->mutex);
        if (s->stop) return std::wstring();
        uint64_t ticket = ++s->pasteAsked;
        Wake(*s);
        Await(*s, lock, [&] { return s->pasteDone >= ticket; });
        return s->stop ? std::wstring() : s->pasted;
    };
    return hook;
}

unsigned long X11Backend::XWindowOf(HWND hwnd) {
    Sync();
    std::lock_guard<std::mutex> g(state_->mutex);
    auto it = state_->xids.find(hwnd);
    return it == state_->xids.end() ? 0 : it->second;
}

}  // namespace kestrova::ui
