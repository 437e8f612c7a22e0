#include "engine/ipcam/camera_control.h"

#include <cstring>
#include <memory>
#include <vector>

#include "engine/ipcam/camera_model.h"
#include "platform/base/clock.h"

namespace kestrova {
namespace {

constexpr int32_t kParamsTimeoutSeconds = 2;
constexpr uint32_t kParamsShutdownMs = 2;
constexpr int kReplyCapacity = 102400;
constexpr int kPtzAttempts = 4;
constexpr const char* kAccepted = "200 OK";

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// One request for `path` and its whole reply; false when connecting, sending or receiving failed.
bool ExchangeWithCamera(const CameraConnection& connection, const std::string& path, std::string* reply) {
    std::unique_ptr<TcpSocket> socket = ConnectCamera(connection.host, connection.port, kParamsTimeoutSeconds);
    if (!socket) return false;
    bool answered = false;
    const std::string request = BuildCameraRequest(path, connection.host, connection.credentials);
    if (SendCameraRequest(*socket, request, kParamsTimeoutSeconds) != 0) {
        std::vector<char> buffer(kReplyCapacity);
        const int received = socket->ReceiveHttpResponse(buffer.data(), kReplyCapacity, kParamsTimeoutSeconds);
        if (received > 0) {
            reply->assign(buffer.data(), static_cast<size_t>(received));
            answered = true;
        }
    }
    EndCameraExchange(socket, kParamsShutdownMs);
    return answered;
}

int LevelResult(int level) { return (level << 16) | 1; }

int GetCameraLevel(const CameraConnection& connection, const char* key, bool zeroFails) {
    std::string reply;
    if (!ExchangeWithCamera(connection, kCameraParamsPath, &reply)) return 0;
    const int value = ParseCameraValue(reply, key);
    if (value < 0 || (value == 0 && zeroFails)) return 0;
    return LevelResult(CameraValueToLevel(value));
}

int SetCameraLevel(const CameraConnection& connection, int param, int level, bool zeroFails) {
    const int value = LevelToCameraValue(level);
    char path[kCameraPathCapacity];
    BuildCameraControlPath(param, value, path);
    std::string reply;
    if (!ExchangeWithCamera(connection, path, &reply)) return 0;
    if (!Contains(reply, kAccepted) || !Contains(reply, "result=\"ok\"")) return 0;
    const int confirmed = CameraValueToLevel(value);
    return confirmed == 0 && zeroFails ? 0 : LevelResult(confirmed);
}

}  // namespace

int ParseCameraValue(const std::string& reply, const char* key) {
    const size_t at = reply.find(key);
    if (!Contains(reply, kAccepted) || at == std::string::npos) return -1;
    const size_t digit = reply.find_first_of("0123456789", at + std::strlen(key));
    if (digit == std::string::npos) return -1;
    int value = 0;
    for (size_t i = digit; i < reply.size() && i < digit + 3 && reply[i] >= '0' && reply[i] <= '9'; ++i) {
        value = value * 10 + (reply[i] - '0');
    }
    return value;
}

int GetCameraBrightness(const CameraConnection& connection) {
    return GetCameraLevel(connection, "vbright", /*zeroFails=*/true);
}

int GetCameraContrast(const CameraConnection& connection) {
    return GetCameraLevel(connection, "vcontrast", /*zeroFails=*/false);
}

int SetCameraBrightness(const CameraConnection& connection, int level) {
    return SetCameraLevel(connection, kBrightnessParam, level, /*zeroFails=*/false);
}

int SetCameraContrast(const CameraConnection& connection, int level) {
    return SetCameraLevel(connection, kContrastParam, level, /*zeroFails=*/true);
}

void RunPtzCommand(const CameraConnection& connection, int command, int32_t durationMs) {
    const uint32_t shutdownMs = static_cast<uint32_t>(std::max(connection.connectTimeout, 0));
    std::vector<char> reply(kReplyCapacity);
    int refused = 0;
    while (refused < kPtzAttempts) {
        std::unique_ptr<TcpSocket> socket = ConnectCamera(connection.host, connection.port, connection.connectTimeout);
        if (!socket) return;
        char path[kCameraPathCapacity];
        BuildPtzPath(command, path);
        const std::string request = BuildCameraRequest(path, connection.host, connection.credentials);
        int received = 0;
        if (SendCameraRequest(*socket, request, connection.connectTimeout) != 0) {
            std::memset(reply.data(), 0, reply.size());
            received = socket->Receive(reply.data(), kReplyCapacity - 1, connection.receiveTimeout);
        }
        const bool accepted = received > 0 && std::strstr(reply.data(), kAccepted) != nullptr;
        EndCameraExchange(socket, shutdownMs);
        if (received <= 0) return;
        if (accepted && durationMs == 0) return;
        if (accepted) {
            GetClock().Sleep(static_cast<uint32_t>(std::max(durationMs, 0)));
            durationMs = 0;
            command = PtzStopPartner(command);
        } else {
            ++refused;
        }
    }
}

}  // namespace kestrova
