#include "platform/shell/shell_open.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <mutex>

#include "platform/base/files.h"
#include "platform/base/log.h"
#include "platform/base/thread.h"

extern char** environ;

namespace kestrova {
namespace {

constexpr char kComponent[] = "shell";
constexpr char kDefaultOpener[] = "xdg-open";

std::mutex g_openerMutex;
std::string g_opener = kDefaultOpener;

std::string Opener() {
    std::lock_guard<std::mutex> g(g_openerMutex);
    return g_opener;
}

// "scheme:rest" with a scheme of a letter followed by letters, digits, "+", "-" or ".".
bool IsAddress(std::string_view target) {
    size_t colon = target.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(target[0])))
        return false;
    for (size_t i = 1; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

bool IsProgramFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool StartProgram(const std::vector<std::string>& argv, int stdinFd) {
    if (argv.empty() || argv[0].empty()) return false;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (stdinFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdinFd, 0);
    // Our sockets (the web server's listener among them) must not live on in a browser we start.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);  // the program ignores it; the child should not inherit that
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    pid_t pid = 0;
    const bool searchPath = argv[0].find('/') == std::string::npos;
    int err = searchPath ? posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ)
                         : posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (err != 0) {
        LogError(kComponent, "cannot start " + argv[0] + ": " + SystemErrorText(err));
        return false;
    }
    std::string name = argv[0];
    StartDetached([pid, name] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            LogWarning(kComponent, name + " ended with status " + std::to_string(status));
    });
    return true;
}

bool ShellOpen(std::wstring_view target) {
    const std::string path = NativePath(target);
    if (path.empty()) return false;
    if (FileExists(target)) {
        if (IsProgramFile(path))
            return StartProgram({path.find('/') == std::string::npos ? "./" + path : path});
        return StartProgram({Opener(), path});
    }
    if (IsAddress(path)) return StartProgram({Opener(), path});
    LogError(kComponent, "nothing to open at " + path);
    return false;
}

bool OpenHelp() {
    return ShellOpen(ProgramDataFolder() + L"Kestrova.html");
}

void SetShellOpener(std::string program) {
    std::lock_guard<std::mutex> g(g_openerMutex);
    g_opener = program.empty() ? kDefaultOpener : std::move(program);
}

}  // namespace kestrova
