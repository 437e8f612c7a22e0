#include "tests/platform/ui/x11/xvfb_server.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <fstream>
#include <string_view>

extern char** environ;

namespace kestrova::uitest {
namespace {

constexpr int kDisplayFd = 3;  // where Xvfb writes the number of the display it took

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
            posix_spawn_file_actions_t* actions) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, 8) != "DISPLAY=") envp.push_back(*e);
    for (const std::string& e : extraEnv) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) return -1;
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

XvfbServer::~XvfbServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    Wait(pid_);
}

bool XvfbServer::Start() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kDisplayFd);
    // The server's chatter would only clutter the test's output.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Without -noreset the server starts over whenever its last client leaves, which happens between tests,
    // and drops new connections while it does.
    pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(kDisplayFd), "-screen", "0", "1024x768x24",
                  "-nolisten", "tcp", "-br", "-noreset"},
                 {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (pid_ > 0 && poll(&p, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return false;
    display_ = ":" + number;
    return true;
}

int XvfbServer::Run(const std::vector<std::string>& args) const {
    pid_t pid = Spawn(args, {"DISPLAY=" + display_}, nullptr);
    return pid < 0 ? -1 : Wait(pid);
}

int XvfbServer::Read(const std::vector<std::string>& args, std::string* output) const {
    output->clear();
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = Spawn(args, {"DISPLAY=" + display_}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char buffer[4096];
    for (ssize_t n; pid > 0 && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        output->append(buffer, size_t(n));
    close(fds[0]);
    return pid < 0 ? -1 : Wait(pid);
}

bool XvfbServer::PointerAt(int* x, int* y) const {
    ::Display* display = XOpenDisplay(display_.c_str());
    if (!display) return false;
    ::Window root, child;
    int windowX, windowY;
    unsigned buttons;
    bool found =
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, x, y, &windowX, &windowY, &buttons);
    XCloseDisplay(display);
    return found;
}

bool XvfbServer::FocusAnotherProgram(int x, int y, int width, int height) const {
    ::Display* display = XOpenDisplay(display_.c_str());
    if (!display) return false;
    XSetCloseDownMode(display, RetainPermanent);  // the window outlives this connection
    XSetWindowAttributes a{};
    a.override_redirect = True;
    ::Window w = XCreateWindow(display, DefaultRootWindow(display), x, y, unsigned(width), unsigned(height),
                               0, CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect, &a);
    XMapRaised(display, w);
    XSync(display, False);
    XSetInputFocus(display, w, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return true;
}

bool Screenshot::Take(const XvfbServer& server, const std::string& folder) {
    std::string path = folder + "screen.ppm";
    if (server.Run({"import", "-window", "root", "-depth", "8", path}) != 0) return false;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> width_ >> height_ >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || width_ <= 0 || height_ <= 0) return false;
    rgb_.resize(size_t(width_) * size_t(height_) * 3);
    in.read(reinterpret_cast<char*>(rgb_.data()), std::streamsize(rgb_.size()));
    return bool(in);
}

uint32_t Screenshot::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFF;
    const uint8_t* p = rgb_.data() + (size_t(y) * size_t(width_) + size_t(x)) * 3;
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

}  // namespace kestrova::uitest
