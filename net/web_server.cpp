#include "net/web_server.h"

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cwchar>
#include <system_error>

#include "net/server_db.h"
#include "net/web_connection_pool.h"
#include "platform/base/log.h"
#include "platform/base/text.h"
#include "platform/ui/messages.h"

namespace kestrova {
namespace {

constexpr char kComponent[] = "web server";
constexpr size_t kMostConnections = 512;
// After a failed accept (out of descriptors, for one) the listener pauses instead of spinning a core.
constexpr uint32_t kAcceptRetryMs = 100;
constexpr uint32_t kListenerShutdownMs = 5000;

std::shared_ptr<const WebConnectionSettings> ConnectionSettings(const WebServerSettings& settings) {
    auto copy = std::make_shared<WebConnectionSettings>();
    copy->publishedCount = settings.publishedCount;
    copy->password = ReadFixedField(settings.password, sizeof settings.password);
    copy->frameFolder.assign(settings.frameFolder,
                             wcsnlen(settings.frameFolder, std::size(settings.frameFolder)));
    copy->serverDb = LoadServerDb();
    return copy;
}

}  // namespace

size_t DefaultWebConnectionLimit() {
    rlimit descriptors{};
    if (getrlimit(RLIMIT_NOFILE, &descriptors) != 0 || descriptors.rlim_cur == RLIM_INFINITY)
        return kMostConnections;
    return std::clamp<size_t>(size_t(descriptors.rlim_cur / 2), 1, kMostConnections);
}

WebServer::WebServer(size_t connectionLimit) : connectionLimit_(connectionLimit) {}

WebServer::~WebServer() {
    Stop();  // always 1
}

int WebServer::Start(const WebServerSettings* settings) {
    if (!settings) return 0;
    Stop();  // always 1
    {
        ScopedLock hold(lock_);
        settings_ = *settings;
    }
    try {
        return listener_.Start([this](StopFlag& stop) { Listen(stop); }) ? 1 : 0;
    } catch (const std::system_error& error) {
        LogError(kComponent, std::string("no thread to listen on: ") + error.what());
        return 0;
    }
}

int WebServer::Stop() {
    if (!listener_.Running()) return 1;
    listener_.RequestStop();
    {
        // A shutdown wakes the listener from accept; closing alone would not. Closing the pool wakes it from
        // a wait for room. A failed shutdown means the socket is not listening: nothing to wake.
        ScopedLock hold(lock_);
        if (listeningSocket_) listeningSocket_->Shutdown(2, 0);
        if (pool_) pool_->Close();
    }
    listener_.Join();
    ScopedLock hold(lock_);
    listeningSocket_.reset();
    pool_.reset();
    return 1;
}

void WebServer::Notify(const WebServerSettings& settings, WPARAM listening) {
    // Posting fails only when the window is gone, and then nobody waits for the news.
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
    if (socket->Create() != 1) {
        LogError(kComponent, "cannot make a socket: " + SystemErrorText(errno));
    } else if (socket->Listen(settings.port, address.c_str()) == 1) {  // Listen logs why it failed
        const auto pool = WebConnectionPool::Create(connectionLimit_, ConnectionSettings(settings));
        {
            ScopedLock hold(lock_);
            pool_ = pool;
        }
        Notify(settings, 1);
        bool failing = false;  // one log line per run of failed accepts, not one per retry
        while (!stop.Requested()) {
            TcpSocket* accepted = nullptr;
            if (socket->Accept(&accepted, nullptr) == 1) {
                failing = false;
                pool->Serve(std::unique_ptr<TcpSocket>(accepted));
            } else if (!stop.Requested()) {
                if (!failing) LogWarning(kComponent, "cannot accept a client: " + SystemErrorText(errno));
                failing = true;
                stop.SleepUnlessStopped(kAcceptRetryMs);  // a stop cuts it short; the loop's test sees it
            }
        }
        pool->Close();
    }
    {
        // Under the lock, so that Stop never shuts down a handle number that was closed and handed out again.
        // Both only end what is there: their results tell nothing more.
        ScopedLock hold(lock_);
        socket->Shutdown(2, kListenerShutdownMs);
        socket->CloseSocket();
    }
    Notify(settings, 0);
}

}  // namespace kestrova
