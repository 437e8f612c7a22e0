#pragma once
// The USB camera: a video capture device of the media layer. While it is powered, its capture graph brings
// 24-bit RGB frames of 320 x 240 or 640 x 480 through a Sample Grabber, whose callback stores each one as
// the current frame (turned upside down when the device's flip is set, privacy cells black), writes the web
// snapshot when one is due and posts a frame notification. Brightness and contrast are the driver's.

#include <cstdint>
#include <memory>

#include "engine/capture_device.h"

namespace kestrova {

// The creation record of a USB camera, zero-filled by its creator.
struct UsbCameraParams : DeviceParams {
    std::shared_ptr<media::IBaseFilter> captureFilter;  // bound from the device's moniker, handed over
    wchar_t friendlyName[256] = {};                     // becomes the display name
    wchar_t devicePath[256] = {};                       // becomes the device key
    int32_t frameSize = 0;                              // 1 = 320 x 240, 2 = 640 x 480
    HWND displayWindow = nullptr;
    HWND notifyWindow = nullptr;
    wchar_t storageFolder[1024] = {};
};

class UsbCameraDevice : public CaptureDevice {
public:
    UsbCameraDevice();
    ~UsbCameraDevice() override;

    int GetType() override;
    int Init(const DeviceParams* params) override;
    void GetSettings(DeviceSettings& record) override;
    void SetSettings(const DeviceSettings& record) override;
    int Start() override;
    int GetBrightness(int useDefault) override;
    int SetBrightness(int level, int useDefault) override;
    int GetContrast(int useDefault) override;
    int SetContrast(int level, int useDefault) override;
    int ShowPropertyPages(HWND owner) override;

    // One delivered frame, from the grabber callback on the streaming thread: 230,400 bytes are 320 x 240,
    // 921,600 bytes 640 x 480; any other length is dropped.
    void OnFrame(const uint8_t* buffer, long length);
};

using CameraGrabberCallback = GrabberCallback<UsbCameraDevice, &UsbCameraDevice::OnFrame>;

}  // namespace kestrova
