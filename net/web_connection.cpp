#include "net/web_connection.h"

#include <fcntl.h>

#include <string_view>
#include <vector>

#include "net/server_db.h"
#include "net/web_reply.h"
#include "net/web_request.h"
#include "net/web_routes.h"

namespace kestrova {
namespace {

// Waits happen in the socket's own bounded waits; the calls themselves must never block, or a client that
// stops reading would hold a send for ever.
void MakeNonBlocking(SocketHandle handle) {
    int flags = fcntl(handle, F_GETFL, 0);
    if (flags >= 0) fcntl(handle, F_SETFL, flags | O_NONBLOCK);
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

void ServeWebConnection(WebConnection& connection) {
    TcpSocket& socket = *connection.socket;
    MakeNonBlocking(socket.Handle());
    const std::vector<uint8_t> serverDb = LoadServerDb();
    const WebSite site{connection.publishedCount, connection.frameFolder, &serverDb};
    std::vector<char> buffer(kWebRequestBufferSize);
    for (;;) {
        int received = socket.Receive(buffer.data(), int(buffer.size()), kWebConnectionTimeoutSeconds);
        if (received <= 0) break;
        WebRequest request;
        if (!ParseWebRequest(std::string_view(buffer.data(), size_t(received)), &request)) break;
        const std::string reply = IsAuthorised(request.authorization, connection.password)
                                      ? RouteWebRequest(request.path, site)
                                      : ComposeUnauthorisedReply();
        if (!SendAll(socket, reply, kWebConnectionTimeoutSeconds)) break;
    }
    socket.Shutdown(2, 5);
    socket.CloseSocket();
}

}  // namespace kestrova
