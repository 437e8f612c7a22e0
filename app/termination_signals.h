#pragma once
// Ending the program from outside: Ctrl+C in its terminal (SIGINT), or the session or a service manager
// ending it (SIGTERM, SIGHUP). The first such signal closes the main window through its own shutdown, as a
// close request of a later start does, so that the program saves its state and stops its devices; a second
// one ends the process at once, for a shutdown that does not end.

#include <signal.h>

#include <thread>

namespace kestrova {

class InstanceRequests;

class TerminationSignals {
public:
    // Blocks the signals for the calling thread and every thread it starts from now on (so make it before
    // any other thread starts) and waits for them on a thread of its own. Without that thread the signals
    // keep their default action.
    explicit TerminationSignals(InstanceRequests& requests);
    // Stops waiting, and gives the signals their default action back.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void Watch(InstanceRequests& requests);

    sigset_t signals_{};
    int signalFd_ = -1;
    int stopFd_ = -1;
    std::thread watcher_;
};

}  // namespace kestrova
