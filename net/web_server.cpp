#include "net/web_server.h"

#include <cwchar>
#include <system_error>

#include "net/web_connection.h"
#include "platform/base/text.h"
#include "platform/ui/messages.h"

namespace kestrova {
namespace {

// After a failed accept (out of descriptors, for one) the listener pauses instead of spinning a core.
constexpr uint32_t kAcceptRetryMs = 100;
constexpr uint32_t kListenerShutdownMs = 5000;

void StartConnection(TcpSocket* client, const WebServerSettings& settings) {
    auto connection = std::make_shared<WebConnection>();
    connection->socket.reset(client);
    connection->publishedCount = settings.publishedCount;
    connection->password = ReadFixedField(settings.password, sizeof settings.password);
    connection->reserved1 = settings.reserved1;
    connection->reserved2 = settings.reserved2;
    connection->frameFolder.assign(settings.frameFolder,
                                   wcsnlen(settings.frameFolder, std::size(settings.frameFolder)));
    try {
        StartDetached([connection] { ServeWebConnection(*connection); });
    } catch (const std::system_error&) {
        // No thread for it: the client's socket closes with the connection record.
    }
}

}  // namespace

WebServer::WebServer() = default;

WebServer::~WebServer() {
    Stop();
}

int WebServer::Start(const WebServerSettings* settings) {
    if (!settings) return 0;
    Stop();
    {
        ScopedLock hold(lock_);
        settings_ = *settings;
    }
    try {
        return listener_.Start([this](StopFlag& stop) { Listen(stop); }) ? 1 : 0;
    } catch (const std::system_error&) {
        return 0;
    }
}

int WebServer::Stop() {
    if (!listener_.Running()) return 1;
    listener_.RequestStop();
    {
        // A shutdown wakes the listener from accept; closing alone would not.
        ScopedLock hold(lock_);
        if (listeningSocket_) listeningSocket_->Shutdown(2, 0);
    }
    listener_.Join();
    ScopedLock hold(lock_);
    listeningSocket_.reset();
    return 1;
}

void WebServer::Notify(const WebServerSettings& settings, WPARAM listening) {
    if (settings.notifyWindow) PostMessageW(settings.notifyWindow, settings.notifyMessage, listening, 0);
}

void WebServer::Listen(StopFlag& stop) {
    WebServerSettings settings;
    TcpSocket* socket = nullptr;
    {
        ScopedLock hold(lock_);
        settings = settings_;
        listeningSocket_ = std::make_unique<TcpSocket>();
        socket = listeningSocket_.get();
    }
    const std::string address = ReadFixedField(settings.bindAddress, sizeof settings.bindAddress);
    if (socket->Create() == 1 && socket->Listen(settings.port, address.c_str()) == 1) {
        Notify(settings, 1);
        while (!stop.Requested()) {
            TcpSocket* client = nullptr;
            if (socket->Accept(&client, nullptr) == 1) {
                StartConnection(client, settings);
            } else {
                stop.SleepUnlessStopped(kAcceptRetryMs);
            }
        }
    }
    {
        // Under the lock, so that Stop never shuts down a handle number that was closed and handed out again.
        ScopedLock hold(lock_);
        socket->Shutdown(2, kListenerShutdownMs);
        socket->CloseSocket();
    }
    Notify(settings, 0);
}

}  // namespace kestrova
