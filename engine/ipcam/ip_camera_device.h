#pragma once
// The IP camera: a network camera that serves its pictures as an HTTP multipart stream of JPEG parts. While
// it is powered, one reader thread holds the stream connection and publishes each part as the newest frame
// (cropped to the frame size, flipped as the option says, privacy cells black when it is decoded, which is
// when the frame is read or at once while the device is shown). Brightness, contrast and pan/tilt are requests
// of their own.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/device.h"
#include "engine/ipcam/camera_request.h"
#include "engine/ipcam/mjpeg_stream_parser.h"
#include "platform/base/lock.h"
#include "platform/base/thread.h"

namespace kestrova {

// The creation record of an IP camera, zero-filled by its creator.
struct IpCameraParams : DeviceParams {
    int32_t port = 0;
    char host[256] = {};      // UTF-8: a dotted address, a host name, or a text with "http://" and a path
    char user[256] = {};      // UTF-8, may be empty
    char password[256] = {};  // UTF-8, may be empty
    int32_t connectTimeout = 0;  // whole seconds
    int32_t receiveTimeout = 0;  // whole seconds
    int32_t frameSize = 0;       // 1 = 320 x 240, 2 = 640 x 480
    HWND displayWindow = nullptr;
    HWND notifyWindow = nullptr;
    wchar_t storageFolder[1024] = {};
};

class IpCameraDevice : public Device {
public:
    IpCameraDevice();
    ~IpCameraDevice() override;

    int GetType() override;
    int Init(const DeviceParams* params) override;
    void GetSettings(DeviceSettings& record) override;
    void SetSettings(const DeviceSettings& record) override;
    int Start() override;
    int Stop() override;
    int GetFriendlyName(wchar_t* buffer, int count) override;
    int SetFriendlyName(std::wstring_view text) override;
    int GetDeviceKey(wchar_t* buffer, int count) override;
    int SetDeviceKey(std::wstring_view text) override;
    int HandleGraphEvents() override;
    int PanLeft(int start, int milliseconds) override;
    int PanRight(int start, int milliseconds) override;
    int TiltUp(int start, int milliseconds) override;
    int TiltDown(int start, int milliseconds) override;
    int GetBrightness(int useDefault) override;
    int SetBrightness(int level, int useDefault) override;
    int GetContrast(int useDefault) override;
    int SetContrast(int level, int useDefault) override;
    int ShowPropertyPages(HWND owner) override;

    // The last pan/tilt command asked for and its duration in milliseconds.
    int32_t GetLastPtzCommand();
    int32_t GetLastPtzDuration();

private:
    // What one run of the reader works with, copied when it starts.
    struct ReaderRun;
    enum class StreamReply { kStreaming, kRefused, kFailed };

    CameraConnection CopyConnection();
    void RestoreConnectionDefaults();
    int StartPtzCommand(int command, int32_t durationMs);

    void RunReader(StopFlag& stop);
    bool ProbeRedirect(ReaderRun& run, const StopFlag& stop);
    bool RequestFrameSize(ReaderRun& run);
    StreamReply RequestStream(ReaderRun& run, int family, const StopFlag& stop);
    void ReadFrames(ReaderRun& run, StopFlag& stop);
    void TakeJpeg(ReaderRun& run, MjpegStreamParser& parser, const uint8_t* jpeg, size_t size);

    // Connection lock.
    CriticalSection connectionLock_;
    int32_t port_ = 80;
    std::string host_ = "0.0.0.0";  // UTF-8, each text at most 255 bytes
    std::string user_;
    std::string password_;
    std::string credentials_;
    int32_t connectTimeout_ = 5;
    int32_t receiveTimeout_ = 5;

    // Reader lock.
    CriticalSection readerLock_;
    Worker reader_;
    int32_t readerRunning_ = 0;

    // Settings lock (the base's).
    int32_t lastPtzCommand_ = 0;
    int32_t lastPtzDuration_ = 0;
};

}  // namespace kestrova
