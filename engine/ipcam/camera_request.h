#pragma once
// The one way the IP camera kind talks to a camera: a plain HTTP/1.0 GET on a connection of its own, with
// Basic authentication unless the credentials are those of an empty user and password.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/tcp_socket.h"

namespace kestrova {

// The Base64 text of ":", the credentials of an empty user and password.
inline constexpr const char* kNoCredentials = "Og==";
inline constexpr size_t kRequestCapacity = 10240;

// What a request needs of the device, copied under its connection lock.
struct CameraConnection {
    int32_t port = 80;
    std::string host = "0.0.0.0";
    std::string user;
    std::string password;
    std::string credentials;  // Base64 of "user:password"
    int32_t connectTimeout = 5;
    int32_t receiveTimeout = 5;
};

// "GET /<path> HTTP/1.0", the Host header with the host text alone, and the Authorization header unless
// `credentials` is kNoCredentials; an empty text when the request would not fit kRequestCapacity.
std::string BuildCameraRequest(const std::string& path, const std::string& host, const std::string& credentials);

// A new socket connected to `host` and `port`; null when it cannot be made or connected.
std::unique_ptr<TcpSocket> ConnectCamera(const std::string& host, int32_t port, int32_t timeoutSeconds);
// Sends the whole request in one send: the send's result.
int SendCameraRequest(TcpSocket& socket, const std::string& request, int32_t timeoutSeconds);
// Ends an exchange: shuts the connection down both ways, waiting at most `waitMs` for the close, and closes
// and deletes the socket. Nothing happens when there is none.
void EndCameraExchange(std::unique_ptr<TcpSocket>& socket, uint32_t waitMs);

}  // namespace kestrova
