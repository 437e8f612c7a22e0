#include "net/web_connection.h"

#include <fcntl.h>

#include <string_view>

#include "net/web_connection_pool.h"
#include "net/web_reply.h"
#include "net/web_request.h"
#include "net/web_routes.h"

namespace kestrova {
namespace {

// Waits happen in the socket's own bounded waits; the calls themselves must never block, or a client that
// stops reading would hold a send for ever. Should this fail, the waits before each call still keep a
// blocking call short: it only runs once the socket is ready.
void MakeNonBlocking(SocketHandle handle) {
    int flags = fcntl(handle, F_GETFL, 0);
    if (flags >= 0) fcntl(handle, F_SETFL, flags | O_NONBLOCK);
}

// Answers one request that arrived in `received`; false when the connection is to end after it.
bool Answer(TcpSocket& socket, const WebConnectionSettings& settings, std::string_view received) {
    WebRequest request;
    if (!ParseWebRequest(received, &request)) return false;
    const WebSite site{settings.publishedCount, settings.frameFolder, &settings.serverDb};
    const std::string reply = IsAuthorised(request.authorization, settings.password)
                                  ? RouteWebRequest(request.path, site)
                                  : ComposeUnauthorisedReply();
    return SendAll(socket, reply, kWebConnectionTimeoutSeconds) && !request.closeAfterReply;
}

}  // namespace

bool SendAll(TcpSocket& socket, const std::string& data, int32_t timeoutSeconds) {
    size_t sent = 0;
    while (sent < data.size()) {
        int n = socket.Send(data.data() + sent, int(data.size() - sent), timeoutSeconds);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

void ServeWebConnection(TcpSocket& socket, const WebConnectionSettings& settings, WebConnectionPool& pool) {
    MakeNonBlocking(socket.Handle());
    std::vector<char> buffer(kWebRequestBufferSize);
    for (;;) {
        int received = socket.Receive(buffer.data(), int(buffer.size()), kWebConnectionTimeoutSeconds);
        if (received <= 0 || !pool.MarkBusy(socket)) break;
        if (!Answer(socket, settings, std::string_view(buffer.data(), size_t(received)))) break;
        pool.MarkIdle(socket);
    }
}

}  // namespace kestrova
