#pragma once
// A private X server (Xvfb) for a test, on a display number nobody uses, with the programs a test runs on it
// (a tray, xdotool) and a connection of the test's own for looking at its windows.

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrova {

// True when `program` is an executable file on PATH.
bool OnPath(const std::string& program);

class XSession {
public:
    // Starts the server; Ready() tells whether it runs.
    XSession();
    // Stops the programs it started, then the server.
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool Ready() const { return display_ != nullptr; }
    const std::string& Name() const { return name_; }  // ":N", the value for DISPLAY
    Display* X() const { return display_; }

    // Starts a program with DISPLAY set to this server; it is stopped with the session. Its pid, or -1.
    pid_t Start(const std::vector<std::string>& argv);
    // Runs a program on this server to its end; its exit status (-1 when it did not run).
    int Run(const std::vector<std::string>& argv);
    // Stops a program it started (SIGTERM) and waits for it.
    void Stop(pid_t pid);
    // Holds a program it started still (SIGSTOP) until Resume; what the server sends it meanwhile waits.
    void Pause(pid_t pid);
    void Resume(pid_t pid);
    // Stops the server now (closing the test's connection first), leaving its other clients without it.
    void StopServer();

    // Asks `condition` again every few milliseconds for up to ten seconds; its last answer.
    static bool WaitFor(const std::function<bool()>& condition);

    // The window named `name` (WM_NAME) anywhere in the tree, or 0.
    Window FindByName(const std::string& name) const;
    Window Parent(Window window) const;
    bool Shown(Window window) const;
    // The class (WM_CLASS) of the top-level window that holds `window`.
    std::string TopLevelClass(Window window) const;
    // The colour of a pixel of a shown window, as 0xRRGGBB.
    uint32_t PixelAt(Window window, int x, int y) const;  // mapped, and every ancestor too
    // The owner of the system tray's selection on the default screen, or 0.
    Window TrayManager() const;
    // Sends the announcement a tray makes when it takes the selection (MANAGER on the root window) for the
    // tray that holds it now, and waits until the server has delivered it.
    void AnnounceTray() const;

private:
    Atom TraySelection() const;
    // `readyFd`, when given, becomes the program's descriptor 3.
    pid_t Spawn(const std::vector<std::string>& argv, int readyFd = -1);

    std::string name_;
    pid_t server_ = -1;
    Display* display_ = nullptr;
    std::vector<pid_t> programs_;
};

}  // namespace kestrova
