#include "tests/e2e/desktop.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <thread>

#include "tests/e2e/child_process.h"

namespace kestrova::e2e {
namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(50);

}  // namespace

int RunTool(const std::vector<std::string>& argv, const std::string& display, std::string* output) {
    std::vector<std::string> variables = MergedEnvironment({{"DISPLAY", display}});
    std::vector<std::string> arguments = argv;
    const std::vector<char*> envp = SpawnArguments(variables);
    const std::vector<char*> args = SpawnArguments(arguments);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = read(fds[0], buffer, sizeof(buffer))) > 0;)
        text.append(buffer, size_t(n));
    close(fds[0]);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<ScreenWindow> Desktop::Windows() const {
    std::string text;
    // The program's windows have no names: the empty pattern matches every one. One call lists them all
    // with their places, a "WINDOW=" line opening each.
    RunTool({"xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", "", "getwindowgeometry",
             "--shell", "%@"},
            display_, &text);
    std::vector<ScreenWindow> windows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
        if (name == "WINDOW") windows.push_back(ScreenWindow{value});
        if (windows.empty()) continue;
        ScreenWindow& window = windows.back();
        const int number = std::atoi(value.c_str());
        if (name == "X") window.x = number;
        if (name == "Y") window.y = number;
        if (name == "WIDTH") window.width = number;
        if (name == "HEIGHT") window.height = number;
    }
    return windows;
}

std::optional<ScreenWindow> Desktop::WaitForWindow(int width, int height,
                                                   std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        for (const ScreenWindow& window : Windows()) {
            if (window.width == width && window.height == height) return window;
        }
        std::this_thread::sleep_for(kPollPeriod);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

std::set<std::string> Desktop::WindowIds() const {
    std::set<std::string> ids;
    for (const ScreenWindow& window : Windows()) ids.insert(window.id);
    return ids;
}

std::optional<ScreenWindow> Desktop::WaitForNewWindow(const std::set<std::string>& before,
                                                      std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        for (const ScreenWindow& window : Windows()) {
            if (!before.count(window.id)) return window;
        }
        std::this_thread::sleep_for(kPollPeriod);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

bool Desktop::WaitUntilGone(int width, int height, std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        bool present = false;
        for (const ScreenWindow& window : Windows())
            present |= window.width == width && window.height == height;
        if (!present) return true;
        std::this_thread::sleep_for(kPollPeriod);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void Desktop::Click(Point p) const {
    // A move first, as a hand makes one: the controls track the pointer before they take a press. The
    // server takes the events in order, so nothing waits for the move (xdotool's own wait for it never ends
    // when the pointer is there already).
    Xdotool({"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "1"});
}

void Desktop::Type(const std::string& text) const {
    Xdotool({"type", "--delay", "20", text});
}

void Desktop::Key(const std::string& name, int times) const {
    Xdotool({"key", "--delay", "20", "--repeat", std::to_string(times), name});
}

bool Desktop::Screenshot(const std::string& path, const std::string& window) const {
    return RunTool({"import", "-window", window, path}, display_) == 0;
}

std::string Desktop::Pixels(const ScreenWindow& window, int x, int y, int width, int height) const {
    std::string rgb;
    const std::string crop = std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(x) +
                             "+" + std::to_string(y);
    RunTool({"import", "-window", window.id, "-crop", crop, "+repage", "-depth", "8", "rgb:-"}, display_,
            &rgb);
    return rgb;
}

void Desktop::Xdotool(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    RunTool(arguments, display_);
}

}  // namespace kestrova::e2e
