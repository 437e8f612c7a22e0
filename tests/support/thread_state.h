#pragma once
// Whether a thread of this process sleeps in the kernel (in a receive, an accept, a poll), read from
// /proc/self/task/<tid>/stat: network tests hand a peer's next step to the moment the other side waits,
// instead of guessing how long it takes to get there.

#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova::testing {

inline pid_t CurrentThreadId() {
    return pid_t(syscall(SYS_gettid));
}

inline bool ThreadSleeps(pid_t tid) {
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::stringstream text;
    text << in.rdbuf();
    const std::string stat = text.str();
    // "<tid> (<name>) <state> ...": the name may hold spaces and parentheses, the state follows the last ')'.
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'S';
}

// Whether every thread of this process but the calling one sleeps: on loopback a send wakes its receiver
// before it returns, so after a send this holds once the receiver has taken the data and waits again.
inline bool OtherThreadsSleep() {
    const pid_t self = CurrentThreadId();
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        const pid_t tid = pid_t(std::stol(task.path().filename().string()));
        if (tid != self && !ThreadSleeps(tid)) return false;
    }
    return true;
}

}  // namespace kestrova::testing
