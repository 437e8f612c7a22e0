#pragma once
// Whether a thread of this process sleeps in the kernel (in a receive, an accept, a poll), read from
// /proc/self/task/<tid>/stat: the socket tests hand a peer's next step to the moment the other side waits,
// instead of guessing how long it takes to get there.

#include <sys/syscall.h>
#include <unistd.h>

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

}  // namespace kestrova::testing
