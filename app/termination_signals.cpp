#include "app/termination_signals.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdint>

#include "app/instance_requests.h"
#include "platform/base/debug.h"

namespace kestrova {
namespace {

// Ends the process as the signal's default action would.
[[noreturn]] void EndBySignal(int signal) {
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);
}

}  // namespace

TerminationSignals::TerminationSignals(InstanceRequests& requests) {
    sigemptyset(&signals_);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals_, signal);
    signalFd_ = signalfd(-1, &signals_, SFD_CLOEXEC);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (signalFd_ < 0 || stopFd_ < 0) {
        DebugOutput("Signals: cannot wait for them; Ctrl+C ends the program without saving");
        return;
    }
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    watcher_ = std::thread([this, &requests] { Watch(requests); });
}

TerminationSignals::~TerminationSignals() {
    if (watcher_.joinable()) {
        const uint64_t one = 1;
        if (write(stopFd_, &one, sizeof one) != sizeof one) DebugOutput("Signals: cannot stop the watcher");
        watcher_.join();
        pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
    }
    if (signalFd_ >= 0) close(signalFd_);
    if (stopFd_ >= 0) close(stopFd_);
}

void TerminationSignals::Watch(InstanceRequests& requests) {
    bool closing = false;
    for (;;) {
        pollfd waits[2] = {{signalFd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) continue;  // interrupted
        if (waits[1].revents) return;
        signalfd_siginfo info{};
        if (read(signalFd_, &info, sizeof info) != sizeof info) continue;
        if (closing) EndBySignal(int(info.ssi_signo));
        closing = true;
        requests.Take(InstanceRequest::kClose);
    }
}

}  // namespace kestrova
