#include "engine/ipcam/camera_request.h"

#include <cstdio>

namespace kestrova {

std::string BuildCameraRequest(const std::string& path, const std::string& host, const std::string& credentials) {
    char request[kRequestCapacity] = {};
    const int length =
        credentials == kNoCredentials
            ? std::snprintf(request, sizeof(request), "GET /%s HTTP/1.0\r\nHost: %s\r\n\r\n", path.c_str(),
                            host.c_str())
            : std::snprintf(request, sizeof(request), "GET /%s HTTP/1.0\r\nHost: %s\r\nAuthorization: Basic %s\r\n\r\n",
                            path.c_str(), host.c_str(), credentials.c_str());
    if (length < 0 || static_cast<size_t>(length) >= sizeof(request)) return std::string();
    return std::string(request, static_cast<size_t>(length));
}

std::unique_ptr<TcpSocket> ConnectCamera(const std::string& host, int32_t port, int32_t timeoutSeconds) {
    auto socket = std::make_unique<TcpSocket>();
    if (socket->Create() != 1 || socket->ConnectHost(host.c_str(), port, timeoutSeconds) != 1) return nullptr;
    return socket;
}

int SendCameraRequest(TcpSocket& socket, const std::string& request, int32_t timeoutSeconds) {
    return socket.Send(request.data(), static_cast<int>(request.size()), timeoutSeconds);
}

void EndCameraExchange(std::unique_ptr<TcpSocket>& socket, uint32_t waitMs) {
    if (!socket) return;
    socket->Shutdown(2, waitMs);
    socket->CloseSocket();
    socket.reset();
}

}  // namespace kestrova
