#include "tests/platform/shell/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace kestrova {
namespace {

// The windows the test looks at may go while it looks (that is what some tests wait for).
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Where a starting server names its display when it is ready.
constexpr int kReadyFd = 3;

// A line from `fd`, waiting up to ten seconds for each character; what came when the writer closed it or
// went quiet.
std::string ReadLine(int fd) {
    std::string line;
    pollfd p{fd, POLLIN, 0};
    char c;
    while (poll(&p, 1, 10000) == 1 && read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

}  // namespace

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

XSession::XSession() {
    if (!OnPath("Xvfb")) return;
    XSetErrorHandler(IgnoreErrors);
    // Spread the numbers by process, so that tests running side by side rarely pick the same one; a number
    // taken between our look and the server's start makes that server exit, and the next number is tried.
    const int first = 100 + int(getpid() % 400);
    for (int n = first; n < first + 40 && !display_; ++n) {
        const std::string number = std::to_string(n);
        if (Exists("/tmp/.X" + number + "-lock") || Exists("/tmp/.X11-unix/X" + number)) continue;
        int ready[2];
        if (pipe2(ready, O_CLOEXEC) != 0) return;
        name_ = ":" + number;
        server_ = Spawn({"Xvfb", name_, "-displayfd", std::to_string(kReadyFd), "-screen", "0", "640x480x24",
                         "-nolisten", "tcp"},
                        ready[1]);
        close(ready[1]);
        // The server names its number on the pipe once it takes connections, and closes the pipe without a
        // word when another one has the number. Only after the word is a connection sure to reach our own:
        // another test's server would go away under it.
        const bool up = server_ > 0 && ReadLine(ready[0]) == number;
        close(ready[0]);
        if (server_ < 0) return;
        if (up) display_ = XOpenDisplay(name_.c_str());
        if (!display_) {
            kill(server_, SIGKILL);
            waitpid(server_, nullptr, 0);
            server_ = -1;
        }
    }
}

XSession::~XSession() {
    for (pid_t pid : programs_) {
        kill(pid, SIGTERM);
        kill(pid, SIGCONT);  // one a failed test left paused
        waitpid(pid, nullptr, 0);
    }
    StopServer();
}

void XSession::StopServer() {
    // Our own connection goes first: Xlib ends the process when a connection breaks under it.
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
    if (server_ < 0) return;
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
    server_ = -1;
}

pid_t XSession::Spawn(const std::vector<std::string>& argv, int readyFd) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("DISPLAY=", 0) != 0) env.emplace_back(*e);
    env.push_back("DISPLAY=" + name_);
    std::vector<char*> envp, args;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Their chatter (a tray's toolkit warnings) is not the test's output.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (readyFd >= 0) posix_spawn_file_actions_adddup2(&actions, readyFd, kReadyFd);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

pid_t XSession::Start(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv);
    if (pid > 0) programs_.push_back(pid);
    return pid;
}

int XSession::Run(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void XSession::Stop(pid_t pid) {
    auto it = std::find(programs_.begin(), programs_.end(), pid);
    if (it == programs_.end()) return;
    programs_.erase(it);
    kill(pid, SIGTERM);
    kill(pid, SIGCONT);
    waitpid(pid, nullptr, 0);
}

void XSession::Pause(pid_t pid) {
    if (std::find(programs_.begin(), programs_.end(), pid) != programs_.end()) kill(pid, SIGSTOP);
}

void XSession::Resume(pid_t pid) {
    if (std::find(programs_.begin(), programs_.end(), pid) != programs_.end()) kill(pid, SIGCONT);
}

bool XSession::WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Window XSession::FindByName(const std::string& name) const {
    std::vector<Window> pending{DefaultRootWindow(display_)};
    while (!pending.empty()) {
        const Window w = pending.back();
        pending.pop_back();
        char* found = nullptr;
        if (XFetchName(display_, w, &found) && found) {
            const bool match = name == found;
            XFree(found);
            if (match) return w;
        }
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, w, &root, &parent, &children, &count)) {
            pending.insert(pending.end(), children, children + count);
            if (children) XFree(children);
        }
    }
    return 0;
}

Window XSession::Parent(Window window) const {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    return parent;
}

bool XSession::Shown(Window window) const {
    XWindowAttributes a{};
    return XGetWindowAttributes(display_, window, &a) && a.map_state == IsViewable;
}

std::string XSession::TopLevelClass(Window window) const {
    const Window root = DefaultRootWindow(display_);
    for (Window parent = Parent(window); parent && parent != root; parent = Parent(window)) window = parent;
    XClassHint hint{};
    if (!XGetClassHint(display_, window, &hint)) return "";
    const std::string name = hint.res_class ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

uint32_t XSession::PixelAt(Window window, int x, int y) const {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFFu;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    auto channel = [pixel](unsigned long mask) {
        int shift = 0;
        while (mask && !((mask >> shift) & 1)) ++shift;
        return uint32_t((pixel & mask) >> shift) & 0xFF;
    };
    const uint32_t rgb =
        channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask);
    XDestroyImage(image);
    return rgb;
}

Atom XSession::TraySelection() const {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display_));
    return XInternAtom(display_, selection.c_str(), False);
}

Window XSession::TrayManager() const {
    return XGetSelectionOwner(display_, TraySelection());
}

void XSession::AnnounceTray() const {
    const Window root = DefaultRootWindow(display_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = root;
    event.xclient.message_type = XInternAtom(display_, "MANAGER", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = long(TraySelection());
    event.xclient.data.l[2] = long(TrayManager());
    XSendEvent(display_, root, False, StructureNotifyMask, &event);
    XSync(display_, False);
}

}  // namespace kestrova
