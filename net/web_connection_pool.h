#pragma once
// The connection threads of one web server start. The listener hands each accepted client over; a thread of
// the pool serves it to the end of its connection (web_connection.h) and then takes the next one. Threads
// are made only when none is free, kept for the next burst, and end after a minute without a client or when
// the server stops and they have no connection: making a thread costs more here than serving a request, so a
// client per request must not cost a thread per request.
//
// The threads are bounded. Without a bound, a crowd of clients that connect and send nothing would hold a
// thread and a descriptor each until their 5 seconds run out and, once the process has no descriptor left,
// lock every other client out. With it, a new client that finds every thread holding a connection takes the
// place of the connection that has waited longest for its next request: that client loses nothing a
// reconnect does not give back. Only when every connection is answering a request does the listener wait
// (new clients then wait in the system's queue).
//
// One lock guards everything below. A connection's socket is shut down by the pool only while it is listed,
// and its thread unlists it before closing it, so the pool never touches a handle number that was closed and
// handed out again. The pool is shared by the server and its threads and lives until the last lets it go.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/tcp_socket.h"
#include "net/web_connection.h"

namespace kestrova {

class WebConnectionPool : public std::enable_shared_from_this<WebConnectionPool> {
public:
    // At most `limit` threads (at least 1), each serving with `settings`.
    static std::shared_ptr<WebConnectionPool> Create(size_t limit,
                                                     std::shared_ptr<const WebConnectionSettings> settings);
    WebConnectionPool(const WebConnectionPool&) = delete;
    WebConnectionPool& operator=(const WebConnectionPool&) = delete;

    // The listener's call for each accepted client: waits for room (see above), then hands it over. Once
    // Close was called, or when no thread is left to take it, the client is closed instead.
    void Serve(std::unique_ptr<TcpSocket> client);
    // Ends the wait of Serve, now and later; threads with a connection finish it, the others end.
    void Close();

    // For the connection's own thread, around each request: false when the pool let it go meanwhile.
    bool MarkBusy(const TcpSocket& socket);
    void MarkIdle(const TcpSocket& socket);

private:
    struct Entry {
        TcpSocket* socket;
        uint64_t idleSince;  // the idle turn it took (larger is more recent); 0 while busy
        bool letGo;          // shut down to make room, not unlisted yet
    };

    WebConnectionPool(size_t limit, std::shared_ptr<const WebConnectionSettings> settings);
    void RunThread();
    // The rest run with the lock held.
    // A free thread waits for the next client and lists it as idle; null when the thread is to end.
    std::unique_ptr<TcpSocket> TakeClient(std::unique_lock<std::mutex>& hold);
    // Unlists a connection that ended; its thread is free from then on.
    void Unlist(const TcpSocket& socket);
    Entry* Find(const TcpSocket& socket);
    // A free thread, or one whose connection was let go, will take one more client, or one more thread may
    // be made.
    bool HasRoom() const;
    // Shuts down the connection that has been idle the longest; false when none is idle.
    bool LetLongestIdleGo();

    const size_t limit_;
    const std::shared_ptr<const WebConnectionSettings> settings_;
    std::mutex mutex_;
    std::condition_variable clientWaiting_;  // for free threads: a client was queued, or the pool closed
    std::condition_variable roomMade_;  // for the listener: a thread came free, or a connection went idle
    std::deque<std::unique_ptr<TcpSocket>> waiting_;  // handed over, not taken by a thread yet
    std::vector<Entry> entries_;                      // the connections threads hold
    size_t threads_ = 0;                              // running, free or not
    size_t freeThreads_ = 0;                          // with no connection: waiting for a client or about to
    size_t leaving_ = 0;                              // entries let go
    uint64_t turn_ = 0;
    bool closed_ = false;
};

}  // namespace kestrova
