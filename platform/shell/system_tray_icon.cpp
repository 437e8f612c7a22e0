#include "platform/shell/system_tray_icon.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/base/debug.h"
#include "platform/base/text.h"
#include "platform/ui/resources.h"
#include "platform/ui/surface.h"

namespace kestrova {
namespace {

// The opcode of the tray's client messages that asks it to dock a window.
constexpr long kRequestDock = 0;
// XEmbed: protocol version 0, and the flag that asks the embedder to map the window.
constexpr long kXEmbedVersion = 0;
constexpr long kXEmbedMapped = 1;
// A second press of the same button within this time is a double click.
constexpr Time kDoubleClickMs = 500;
// How long the thread waits for the socket before it asks Xlib for events again.
constexpr int kRecheckMs = 250;
// The size the icon asks the tray for; the tray may give it another.
constexpr int kRequestedSize = 22;

// Errors on our connections (a tray window gone while we speak to it) are expected and harmless, and a
// display that goes away takes only the icon with it; other connections of the process keep the handlers
// they had before us.
std::mutex g_displaysMutex;
std::set<Display*> g_ourDisplays;
std::atomic<XErrorHandler> g_previousErrorHandler{nullptr};
std::atomic<XIOErrorHandler> g_previousIOErrorHandler{nullptr};

bool IsOurs(Display* display) {
    std::lock_guard<std::mutex> g(g_displaysMutex);
    return g_ourDisplays.count(display) != 0;
}

int IgnoreOurErrors(Display* display, XErrorEvent* error) {
    if (IsOurs(display)) return 0;
    XErrorHandler previous = g_previousErrorHandler.load();
    return previous ? previous(display, error) : 0;
}

// Returning lets the display's exit handler (below) run instead of ending the process.
int SurviveOurLostDisplays(Display* display) {
    if (IsOurs(display)) return 0;
    XIOErrorHandler previous = g_previousIOErrorHandler.load();
    return previous ? previous(display) : 0;
}

// Writing to a display that went away raises SIGPIPE, which ends the process unless the program ignores
// it. Held back on this thread for the scope; one raised meanwhile is taken out.
class SigpipeHeldBack {
public:
    SigpipeHeldBack() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        wasPending_ = Pending();
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~SigpipeHeldBack() {
        if (!wasPending_ && Pending()) {
            const timespec now{};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    SigpipeHeldBack(const SigpipeHeldBack&) = delete;
    SigpipeHeldBack& operator=(const SigpipeHeldBack&) = delete;

private:
    static bool Pending() {
        sigset_t pending;
        return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE);
    }

    sigset_t pipe_, old_;
    bool wasPending_;
};

void InstallErrorHandlersOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_previousErrorHandler = XSetErrorHandler(IgnoreOurErrors);
        g_previousIOErrorHandler = XSetIOErrorHandler(SurviveOurLostDisplays);
    });
}

}  // namespace

struct SystemTrayIcon::Connection {
    Display* display = nullptr;
    Window window = 0;
    Window tray = 0;  // the tray's manager window, while there is one
    Atom trayAtom = 0, opcodeAtom = 0, managerAtom = 0, xembedInfoAtom = 0, nameAtom = 0, utf8Atom = 0;
    TrayPicture picture;
    std::atomic<bool> lost{false};  // the display went away
    unsigned lastButton = 0;
    Time lastPress = 0;
    bool lastWasDouble = false;

    ~Connection() {
        if (!display) return;
        if (!lost && window) {
            XDestroyWindow(display, window);
            XSync(display, False);
        }
        Close();
    }

    // Xlib closes a connection that broke under a thread only on that thread (elsewhere it waits for ever
    // on the display's lock), so the event thread closes a lost display itself.
    void Close() {
        XCloseDisplay(display);
        // Only now: closing a broken connection reports the break once more.
        std::lock_guard<std::mutex> g(g_displaysMutex);
        g_ourDisplays.erase(display);
        display = nullptr;
    }

    bool Open() {
        InstallErrorHandlersOnce();
        display = XOpenDisplay(nullptr);
        if (!display) return false;
        {
            std::lock_guard<std::mutex> g(g_displaysMutex);
            g_ourDisplays.insert(display);
        }
        // Without this Xlib ends the process when the display goes away; the icon only goes with it.
        XSetIOErrorExitHandler(
            display, [](Display*, void* self) { static_cast<Connection*>(self)->lost = true; }, this);
        const std::string trayName = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
        trayAtom = XInternAtom(display, trayName.c_str(), False);
        opcodeAtom = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
        managerAtom = XInternAtom(display, "MANAGER", False);
        xembedInfoAtom = XInternAtom(display, "_XEMBED_INFO", False);
        nameAtom = XInternAtom(display, "_NET_WM_NAME", False);
        utf8Atom = XInternAtom(display, "UTF8_STRING", False);
        // A tray that starts later announces itself on the root window.
        XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask);
        return true;
    }

    void CreateWindow() {
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        attributes.event_mask =
            ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, kRequestedSize, kRequestedSize, 0,
                               CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                               &attributes);
        // Trays give an icon the size it asks for in its hints, and 1 x 1 when it asks for none.
        XSizeHints* hints = XAllocSizeHints();
        if (hints) {
            hints->flags = PMinSize | PBaseSize;
            hints->min_width = hints->base_width = kRequestedSize;
            hints->min_height = hints->base_height = kRequestedSize;
            XSetWMNormalHints(display, window, hints);
            XFree(hints);
        }
        const long info[2] = {kXEmbedVersion, kXEmbedMapped};
        XChangeProperty(display, window, xembedInfoAtom, xembedInfoAtom, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(info), 2);
    }

    // Finds the tray and asks it to dock the window; false when there is no tray.
    bool RequestDock() {
        // Held so that the tray cannot go between finding it and watching it go.
        XGrabServer(display);
        tray = XGetSelectionOwner(display, trayAtom);
        if (tray) XSelectInput(display, tray, StructureNotifyMask);
        XUngrabServer(display);
        if (!tray) {
            XFlush(display);
            return false;
        }
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = tray;
        event.xclient.message_type = opcodeAtom;
        event.xclient.format = 32;
        event.xclient.data.l[0] = CurrentTime;
        event.xclient.data.l[1] = kRequestDock;
        event.xclient.data.l[2] = long(window);
        XSendEvent(display, tray, False, NoEventMask, &event);
        XFlush(display);
        return true;
    }

    void SetTip(const std::wstring& tip) {
        const std::string text = ToUtf8(tip);
        XChangeProperty(display, window, nameAtom, utf8Atom, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
        // The old name too, for trays and tools that read only that one.
        XStoreName(display, window, text.c_str());
    }

    // Draws the picture scaled to the window's size (the tray decides it).
    void Draw() {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display, window, &a) || a.width <= 0 || a.height <= 0) return;
        Visual* visual = a.visual;
        XImage* image = XCreateImage(display, visual, a.depth, ZPixmap, 0, nullptr, a.width, a.height, 32, 0);
        if (!image) return;
        image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * size_t(a.height)));
        if (!image->data) {
            XDestroyImage(image);
            return;
        }
        for (int y = 0; y < a.height; ++y) {
            for (int x = 0; x < a.width; ++x) {
                uint32_t rgb = 0;
                if (!picture.pixels.empty()) {
                    const int sx = x * picture.width / a.width, sy = y * picture.height / a.height;
                    rgb = picture.pixels[size_t(sy) * size_t(picture.width) + size_t(sx)];
                }
                XPutPixel(image, x, y, PixelOf(visual, rgb));
            }
        }
        XPutImage(display, window, DefaultGC(display, DefaultScreen(display)), image, 0, 0, 0, 0, a.width,
                  a.height);
        XDestroyImage(image);  // frees the pixels too
    }

    static unsigned long PixelOf(const Visual* visual, uint32_t rgb) {
        return Channel(visual->red_mask, (rgb >> 16) & 0xFF) |
               Channel(visual->green_mask, (rgb >> 8) & 0xFF) | Channel(visual->blue_mask, rgb & 0xFF);
    }

    // An 8-bit value placed into a true-colour visual's channel mask.
    static unsigned long Channel(unsigned long mask, uint32_t value) {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1)) ++shift;
        int bits = 0;
        while ((mask >> (shift + bits)) & 1) ++bits;
        const unsigned long scaled = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
        return (scaled << shift) & mask;
    }

    // The mouse message of a button event, or 0 for buttons the icon does not report (the wheel).
    UINT MouseMessage(const XButtonEvent& e) {
        if (e.type == ButtonRelease) {
            switch (e.button) {
                case Button1:
                    return WM_LBUTTONUP;
                case Button2:
                    return WM_MBUTTONUP;
                case Button3:
                    return WM_RBUTTONUP;
                default:
                    return 0;
            }
        }
        const bool isDouble =
            e.button == lastButton && !lastWasDouble && e.time - lastPress <= kDoubleClickMs;
        lastButton = e.button;
        lastPress = e.time;
        lastWasDouble = isDouble && e.button != Button2;
        switch (e.button) {
            case Button1:
                return lastWasDouble ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            case Button2:
                return WM_MBUTTONDOWN;
            case Button3:
                return lastWasDouble ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
            default:
                lastButton = 0;
                return 0;
        }
    }
};

TrayPicture TrayPicture::FromIcon(HICON icon) {
    TrayPicture picture;
    const ui::Surface* surface = ui::IconPixels(icon);
    if (!surface || surface->Width() <= 0 || surface->Height() <= 0) return picture;
    picture.width = surface->Width();
    picture.height = surface->Height();
    picture.pixels.assign(surface->Pixels(), surface->Pixels() + size_t(picture.width) * picture.height);
    return picture;
}

DockResult SystemTrayIcon::Dock(const TrayPicture& picture, const std::wstring& tip, MouseHandler onMouse,
                                std::unique_ptr<SystemTrayIcon>& icon) {
    SigpipeHeldBack quiet;
    auto x = std::make_unique<Connection>();
    if (!x->Open()) return DockResult::kNoDisplay;
    x->picture = picture;
    x->CreateWindow();
    x->SetTip(tip);
    if (!x->RequestDock()) return DockResult::kNoTray;
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return DockResult::kFailed;
    icon.reset(new SystemTrayIcon(std::move(x), std::move(onMouse), wake[0], wake[1]));
    return DockResult::kDocked;
}

SystemTrayIcon::SystemTrayIcon(std::unique_ptr<Connection> x, MouseHandler onMouse, int wakeRead,
                               int wakeWrite)
    : x_(std::move(x)), onMouse_(std::move(onMouse)), wakeRead_(wakeRead), wakeWrite_(wakeWrite) {
    thread_.Start([this](StopFlag& stop) { Run(stop); });
}

SystemTrayIcon::~SystemTrayIcon() {
    thread_.RequestStop();
    Wake();
    thread_.Join();
    SigpipeHeldBack quiet;
    x_.reset();
    close(wakeRead_);
    close(wakeWrite_);
}

void SystemTrayIcon::SetPicture(TrayPicture picture) {
    {
        std::lock_guard<std::mutex> g(mutex_);
        picture_ = std::move(picture);
        pictureChanged_ = true;
    }
    Wake();
}

void SystemTrayIcon::SetTip(std::wstring tip) {
    {
        std::lock_guard<std::mutex> g(mutex_);
        tip_ = std::move(tip);
        tipChanged_ = true;
    }
    Wake();
}

void SystemTrayIcon::Wake() {
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] ssize_t written = write(wakeWrite_, &byte, 1);
}

void SystemTrayIcon::ApplyChanges() {
    std::lock_guard<std::mutex> g(mutex_);
    if (tipChanged_) x_->SetTip(tip_);
    if (pictureChanged_) {
        x_->picture = std::move(picture_);
        x_->Draw();
    }
    tipChanged_ = pictureChanged_ = false;
}

void SystemTrayIcon::Run(StopFlag& stop) {
    SigpipeHeldBack quiet;
    Connection& x = *x_;
    while (!stop.Requested() && !x.lost) {
        ApplyChanges();
        while (!x.lost && XPending(x.display)) {
            XEvent event;
            XNextEvent(x.display, &event);
            switch (event.type) {
                case Expose:
                    if (event.xexpose.count == 0) x.Draw();
                    break;
                case ConfigureNotify:
                    if (event.xconfigure.window == x.window) x.Draw();
                    break;
                case ButtonPress:
                case ButtonRelease:
                    if (const UINT message = x.MouseMessage(event.xbutton)) onMouse_(message);
                    break;
                case MotionNotify:
                    onMouse_(WM_MOUSEMOVE);
                    break;
                case DestroyNotify:
                    // The tray went: keep the icon out of sight (it may come back to the root window) until
                    // another tray starts.
                    if (x.tray && event.xdestroywindow.window == x.tray) {
                        x.tray = 0;
                        XUnmapWindow(x.display, x.window);
                    }
                    break;
                case ClientMessage:
                    // A tray announces itself after it takes the selection, so the one asked at the start may
                    // announce itself after the request. Asked again, it docks the icon anew, and when the
                    // two requests come at once it drops the icon instead.
                    if (event.xclient.message_type == x.managerAtom &&
                        Atom(event.xclient.data.l[1]) == x.trayAtom &&
                        Window(event.xclient.data.l[2]) != x.tray)
                        x.RequestDock();
                    break;
                default:
                    break;
            }
        }
        if (x.lost || stop.Requested()) break;
        // The XPending above flushed and found nothing; still, Xlib may take an event off the socket into
        // its queue without counting it, so the thread looks again after a while even when the socket
        // stays quiet.
        pollfd fds[2] = {{ConnectionNumber(x.display), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (poll(fds, 2, kRecheckMs) < 0) continue;
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Let Xlib see the broken connection and say so through its handlers.
            XPending(x.display);
            if (!x.lost) break;
        }
        char buffer[64];
        while (read(wakeRead_, buffer, sizeof buffer) > 0) {
        }
    }
    if (x.lost) {
        DebugOutput("Notification area: the display went away, the icon with it");
        x.Close();
    }
}

}  // namespace kestrova
