#include "tests/e2e/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

extern char** environ;

namespace kestrova::e2e {
std::vector<std::string> MergedEnvironment(const Environment& changes) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals) variables[std::string(*entry, size_t(equals - *entry))] = equals + 1;
    }
    for (const auto& [name, value] : changes) variables[name] = value;
    std::vector<std::string> merged;
    for (const auto& [name, value] : variables) merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> SpawnArguments(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const Environment& environment,
                           const std::string& log)
    : log_(log) {
    std::vector<std::string> variables = MergedEnvironment(environment);
    std::vector<std::string> arguments = argv;
    const std::vector<char*> envp = SpawnArguments(variables);
    const std::vector<char*> args = SpawnArguments(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    if (posix_spawnp(&pid_, args[0], &actions, &attributes, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    Kill();
}

std::optional<int> ChildProcess::ExitCode() {
    if (exitCode_ || pid_ <= 0) return exitCode_;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exitCode_;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ExitCode() && pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return exitCode_;
}

void ChildProcess::Kill() {
    if (pid_ <= 0) return;
    // The session's group has the program's id; its members may outlive the program.
    kill(-pid_, SIGKILL);
    if (!exitCode_) {
        int status = 0;
        waitpid(pid_, &status, 0);
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
}

std::string ChildProcess::Log() const {
    std::ifstream in(log_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace kestrova::e2e
