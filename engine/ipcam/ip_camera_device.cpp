#include "engine/ipcam/ip_camera_device.h"

#include <cstdio>
#include <cstring>
#include <system_error>

#include "engine/base64.h"
#include "engine/device_settings.h"
#include "engine/ipcam/camera_control.h"
#include "engine/ipcam/camera_model.h"
#include "engine/ipcam/host_redirect.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr size_t kCredentialsCapacity = 2048;
constexpr size_t kUserPasswordBytes = 511;

// A fixed field's text: at most its width minus the terminator.
std::string FieldText(const char* field, size_t width) { return std::string(field, strnlen(field, width - 1)); }

// The Base64 text of "user:password", or empty when it would not fit its field.
std::string MakeCredentials(const std::string& user, const std::string& password) {
    std::string pair = user + ":" + password;
    if (pair.size() > kUserPasswordBytes) pair.resize(kUserPasswordBytes);
    const int needed = Base64Encode(pair.c_str(), nullptr);
    if (needed <= 0 || static_cast<size_t>(needed) >= kCredentialsCapacity) return std::string();
    std::vector<char> encoded(static_cast<size_t>(needed));
    if (Base64Encode(pair.c_str(), encoded.data()) != 0) return std::string();
    return std::string(encoded.data());
}

}  // namespace

IpCameraDevice::IpCameraDevice() : Device(kDeviceIpCamera) {
    // An IP camera has no sound to record.
    SetRecordAudio(0);
}

IpCameraDevice::~IpCameraDevice() { ShutDown(); }

int IpCameraDevice::GetType() { return kDeviceIpCamera; }

void IpCameraDevice::RestoreConnectionDefaults() {
    std::lock_guard<CriticalSection> lock(connectionLock_);
    port_ = 80;
    host_ = "0.0.0.0";
    user_.clear();
    password_.clear();
    credentials_.clear();
    connectTimeout_ = 5;
    receiveTimeout_ = 5;
}

int IpCameraDevice::Init(const DeviceParams* params) {
    RecordVideo(0);
    Stop();
    RestoreConnectionDefaults();
    ResetBaseFields();
    SetRecordAudio(0);
    const auto* camera = dynamic_cast<const IpCameraParams*>(params);
    if (camera == nullptr) return 0;

    std::string name;
    {
        std::lock_guard<CriticalSection> lock(connectionLock_);
        port_ = camera->port;
        host_ = FieldText(camera->host, sizeof(camera->host));
        user_ = FieldText(camera->user, sizeof(camera->user));
        password_ = FieldText(camera->password, sizeof(camera->password));
        credentials_ = MakeCredentials(user_, password_);
        connectTimeout_ = camera->connectTimeout;
        receiveTimeout_ = camera->receiveTimeout;
        char text[kHostTextCapacity + 16];
        std::snprintf(text, sizeof(text), "%s:%i", host_.c_str(), port_);
        name = text;
    }
    SetFrameSize(camera->frameSize);
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        lastPtzCommand_ = 0;
        lastPtzDuration_ = 0;
    }
    StoreDisplayName(FromUtf8(name));
    SetDisplayWindow(camera->displayWindow);
    SetNotifyWindow(camera->notifyWindow);
    SetStorageFolder(std::wstring(camera->storageFolder, wcsnlen(camera->storageFolder, 1023)));
    return 0;
}

void IpCameraDevice::GetSettings(DeviceSettings& record) {
    record.SetDeviceType(kDeviceIpCamera);
    {
        std::lock_guard<CriticalSection> lock(connectionLock_);
        record.SetCameraPort(port_);
        record.SetCameraHost(host_);
        record.SetCameraUser(user_);
        record.SetCameraPassword(password_);
    }
    WriteSharedSettings(record, /*masks=*/true);
}

void IpCameraDevice::SetSettings(const DeviceSettings& record) {
    {
        // The credentials and the display name stay as Init made them from the same record.
        std::lock_guard<CriticalSection> lock(connectionLock_);
        port_ = record.GetCameraPort();
        host_ = record.GetCameraHost();
        user_ = record.GetCameraUser();
        password_ = record.GetCameraPassword();
    }
    ApplySharedSettings(record, /*masks=*/true);
}

int IpCameraDevice::Start() {
    std::lock_guard<CriticalSection> lock(readerLock_);
    if (readerRunning_ == 1) return 1;
    // A reader that ended by itself has cleared running and has at most its last posts left: wait for them.
    reader_.Join();
    try {
        // Set before the thread exists and cleared by the thread as it ends, so that a second Start never
        // waits for a reader that is still running.
        readerRunning_ = 1;
        if (reader_.Start([this](StopFlag& stop) { RunReader(stop); })) return 1;
    } catch (const std::system_error&) {
    }
    readerRunning_ = 0;
    return 0;
}

int IpCameraDevice::Stop() {
    StopDetection();
    StopAlarm();
    reader_.Stop();
    return 1;
}

int IpCameraDevice::GetFriendlyName(wchar_t* buffer, int count) { return CopyDisplayName(buffer, count); }
int IpCameraDevice::SetFriendlyName(std::wstring_view text) { return StoreDisplayName(text); }
int IpCameraDevice::GetDeviceKey(wchar_t* buffer, int count) { return CopyDeviceKey(buffer, count); }
int IpCameraDevice::SetDeviceKey(std::wstring_view text) { return StoreDeviceKey(text); }
int IpCameraDevice::HandleGraphEvents() { return 0; }
int IpCameraDevice::ShowPropertyPages(HWND) { return 0; }

CameraConnection IpCameraDevice::CopyConnection() {
    std::lock_guard<CriticalSection> lock(connectionLock_);
    CameraConnection copy;
    copy.port = port_;
    copy.host = host_;
    copy.user = user_;
    copy.password = password_;
    copy.credentials = credentials_;
    copy.connectTimeout = connectTimeout_;
    copy.receiveTimeout = receiveTimeout_;
    return copy;
}

int IpCameraDevice::PanLeft(int start, int milliseconds) {
    return StartPtzCommand(start != 0 ? kPanLeftStart : kPanLeftStop, milliseconds);
}
int IpCameraDevice::PanRight(int start, int milliseconds) {
    return StartPtzCommand(start != 0 ? kPanRightStart : kPanRightStop, milliseconds);
}
int IpCameraDevice::TiltUp(int start, int milliseconds) {
    return StartPtzCommand(start != 0 ? kTiltUpStart : kTiltUpStop, milliseconds);
}
int IpCameraDevice::TiltDown(int start, int milliseconds) {
    return StartPtzCommand(start != 0 ? kTiltDownStart : kTiltDownStop, milliseconds);
}

int IpCameraDevice::StartPtzCommand(int command, int32_t durationMs) {
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        lastPtzCommand_ = command;
        lastPtzDuration_ = durationMs;
    }
    // The thread gets its own copy of the connection before it starts, so the device may go at any time.
    CameraConnection connection = CopyConnection();
    try {
        StartDetached([connection, command, durationMs] { RunPtzCommand(connection, command, durationMs); });
    } catch (const std::system_error&) {
        return 0;
    }
    return 1;
}

int32_t IpCameraDevice::GetLastPtzCommand() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return lastPtzCommand_;
}

int32_t IpCameraDevice::GetLastPtzDuration() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return lastPtzDuration_;
}

// The camera's own values are always made from the level: the default request (level 0) sets it to 0.
int IpCameraDevice::GetBrightness(int) { return GetCameraBrightness(CopyConnection()); }
int IpCameraDevice::SetBrightness(int level, int) { return SetCameraBrightness(CopyConnection(), level); }
int IpCameraDevice::GetContrast(int) { return GetCameraContrast(CopyConnection()); }
int IpCameraDevice::SetContrast(int level, int) { return SetCameraContrast(CopyConnection(), level); }

}  // namespace kestrova
