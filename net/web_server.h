#pragma once
// The streaming web server: one listener thread on the chosen address and port, and one detached thread per
// client connection that answers the site's pages, the devices' frame files and the assets of "Server.db".
// The server never touches a device; it only reads the frame files the devices write.

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
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    wchar_t frameFolder[1600] = {};  // the storage folder followed by "Server/"
    HWND notifyWindow = nullptr;
    UINT notifyMessage = kWebServerNotifyMessage;
};

class WebServer {
public:
    WebServer();
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

    CriticalSection lock_;          // guards settings_ and the listening socket's handle while it is in use
    WebServerSettings settings_{};  // the copy the listener starts from
    std::unique_ptr<TcpSocket> listeningSocket_;
    Worker listener_;
};

}  // namespace kestrova
