#pragma once
// The X display as a person sees and works it, through the desktop's own tools: xdotool finds the windows
// and moves, clicks and types; imagemagick's import takes screenshots. Every call waits for its tool to end.

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kestrova::e2e {

struct Point {
    int x = 0, y = 0;
};

// A visible top-level window: where it is on the screen, and its size.
struct ScreenWindow {
    std::string id;
    int x = 0, y = 0, width = 0, height = 0;
    // A point given in the window's own (client) coordinates, on the screen.
    Point At(int cx, int cy) const { return {x + cx, y + cy}; }
    Point At(Point p) const { return At(p.x, p.y); }
};

// Runs `argv` to its end with `display` as DISPLAY; its exit status (-1 when it could not run), its standard
// output into `output` when given.
int RunTool(const std::vector<std::string>& argv, const std::string& display, std::string* output = nullptr);

class Desktop {
public:
    explicit Desktop(std::string display) : display_(std::move(display)) {}

    std::vector<ScreenWindow> Windows() const;
    // The visible top-level window of this size, waited for up to `limit`.
    std::optional<ScreenWindow> WaitForWindow(
        int width, int height, std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    // The ids of the visible windows now, to tell the windows that come later.
    std::set<std::string> WindowIds() const;
    // A visible window not among `before`, waited for up to `limit`.
    std::optional<ScreenWindow> WaitForNewWindow(
        const std::set<std::string>& before,
        std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    // Waits until no visible window has this size.
    bool WaitUntilGone(int width, int height,
                       std::chrono::milliseconds limit = std::chrono::seconds(30)) const;

    void Click(Point p) const;
    // Types `text` into the window that has the keyboard focus.
    void Type(const std::string& text) const;
    // Presses the keys named as xdotool names them ("End", "BackSpace", "Return"), `times` over.
    void Key(const std::string& name, int times = 1) const;
    // A screenshot of the whole screen, or of one window when its id is given.
    bool Screenshot(const std::string& path, const std::string& window = "root") const;
    // The pixels of a rectangle of a window (in its coordinates) as RGB bytes, rows from the top.
    std::string Pixels(const ScreenWindow& window, int x, int y, int width, int height) const;

private:
    void Xdotool(std::vector<std::string> arguments) const;
    std::string display_;
};

}  // namespace kestrova::e2e
