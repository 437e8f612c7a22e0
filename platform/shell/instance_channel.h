#pragma once
// One running instance per user. The running instance holds a lock in the user's runtime folder and listens
// on a local socket beside it; a later start finds the lock taken and hands its request to the running one
// through the socket: show its window, or close itself (through its own shutdown, so that it saves its
// state).

#include <functional>
#include <memory>
#include <string>

#include "platform/base/thread.h"

namespace kestrova {

enum class InstanceRequest { kShow, kClose };

enum class ClaimResult {
    kClaimed,  // this process is the running instance
    kTaken,    // another instance runs
    kFailed,   // the runtime folder cannot be used; the program may run, unguarded
};

// $KESTROVA_RUNTIME_DIR, else $XDG_RUNTIME_DIR/kestrova/, else /tmp/kestrova-<uid>/.
std::wstring RuntimeFolder();

class InstanceChannel {
public:
    using Handler = std::function<void(InstanceRequest)>;

    // Stops listening and gives up the lock.
    ~InstanceChannel();
    InstanceChannel(const InstanceChannel&) = delete;
    InstanceChannel& operator=(const InstanceChannel&) = delete;

    // Tries to become the running instance. Requests of later starts arrive at `onRequest` on the channel's
    // own thread, one at a time, before the sender is told that they arrived.
    static ClaimResult Claim(Handler onRequest, std::unique_ptr<InstanceChannel>& channel);
    // Claims, trying again every 50 ms for up to `timeoutMs` while another instance holds the lock: for a
    // start that has asked the running one to close.
    static ClaimResult ClaimWhenFree(Handler onRequest, uint32_t timeoutMs,
                                     std::unique_ptr<InstanceChannel>& channel);
    // From a later start: hands `request` to the running instance; false when none took it.
    static bool Send(InstanceRequest request);

private:
    InstanceChannel(int lockFd, Handler onRequest) : lockFd_(lockFd), onRequest_(std::move(onRequest)) {}
    void Listen(int listenFd);
    void Serve(int connection);

    int lockFd_;
    int listenFd_ = -1;
    std::string socketPath_;
    Handler onRequest_;
    Worker listener_;
};

}  // namespace kestrova
