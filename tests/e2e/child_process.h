#pragma once
// A program the end-to-end test starts: in a session of its own, with the test's environment plus the
// variables given, its output (standard output and error) going to a log file. The object owns the whole
// session: when it goes, everything still running in it is killed and the program is waited for.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

// The test's own environment with `changes` applied, as NAME=VALUE texts.
std::vector<std::string> MergedEnvironment(const Environment& changes);
// What a spawn takes: a pointer to each text, then a null. The texts must outlive the pointers.
std::vector<char*> SpawnArguments(std::vector<std::string>& texts);

class ChildProcess {
public:
    // Starts `argv` (argv[0] found on the test's own PATH). Started() says whether it
    // could be started.
    ChildProcess(const std::vector<std::string>& argv, const Environment& environment,
                 const std::string& log);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // The exit code once the program ended by itself; -1 when a signal ended it. None while it runs.
    std::optional<int> ExitCode();
    // Waits up to `limit` for the end; the exit code, or none when it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    // SIGKILL to every process of the session, then waits for the program.
    void Kill();
    std::string Log() const;

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::string log_;
};

}  // namespace kestrova::e2e
