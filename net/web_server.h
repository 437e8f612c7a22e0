#pragma once
// The streaming web server: one listener thread on the chosen address and port, and a detached thread for
// each client connection that answers the site's pages, the devices' frame files and the assets of
// "Server.db". The server never touches a device; it only reads the frame files the devices write.
//
// The listener only accepts and hands over, so that a burst of new connections finds it waiting in accept;
// the system queues what arrives meanwhile, as many as it allows. "Server.db" is read once per start. The
// connection threads of one start are kept for the next client and bounded: a new client beyond the bound
// takes the place of the connection that has waited longest for its next request (web_connection_pool.h).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/tcp_socket.h"
#include "platform/base/lock.h"
#include "platform/base/thread.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr UINT kWebServerNotifyMessage = WM_APP + 4;  // wParam 1 listening, 0 ended

// What a server is started with; lives only in memory.
struct WebServerSettings {
    int32_t publishedCount = 0;  // published devices carry the web indexes 1..publishedCount
    char bindAddress[52] = {};   // dotted IPv4, UTF-8, zero-terminated
    int32_t port = 8000;
    char password[24] = {};  // empty: no authentication
    int32_t reserved1 = 0;  // kept for the settings window, which fills them; the server reads neither
    int32_t reserved2 = 0;
    wchar_t frameFolder[1600] = {};  // the storage folder followed by "Server/"
    HWND notifyWindow = nullptr;
    UINT notifyMessage = kWebServerNotifyMessage;
};

class WebConnectionPool;

// The bound on one start's connection threads: 512, or half the descriptors the process may open when that
// is fewer, so that the rest of the program keeps descriptors for its cameras, recordings and windows.
size_t DefaultWebConnectionLimit();

class WebServer {
public:
    explicit WebServer(size_t connectionLimit = DefaultWebConnectionLimit());
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Stops a running listener, copies `settings` and starts listening on a new thread. 0 when `settings` is
    // null (nothing changes) or the thread cannot start.
    int Start(const WebServerSettings* settings);
    // Ends the listener and waits for it; connections already accepted go on with their old settings.
    // Always 1.
    int Stop();

private:
    void Listen(StopFlag& stop);
    void Notify(const WebServerSettings& settings, WPARAM listening);

    const size_t connectionLimit_;
    CriticalSection lock_;          // guards settings_, pool_ and the listening socket's handle while in use
    WebServerSettings settings_{};  // the copy the listener starts from
    std::unique_ptr<TcpSocket> listeningSocket_;
    std::shared_ptr<WebConnectionPool> pool_;  // the running start's connection threads
    Worker listener_;
};

}  // namespace kestrova
