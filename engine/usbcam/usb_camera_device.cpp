#include "engine/usbcam/usb_camera_device.h"

#include "engine/device_settings.h"
#include "engine/usbcam/camera_format.h"
#include "engine/usbcam/proc_amp_levels.h"
#include "platform/media/driver_controls.h"
#include "platform/media/video_proc_amp.h"
#include "platform/shell/camera_controls_window.h"

namespace kestrova {

using namespace media;

UsbCameraDevice::UsbCameraDevice() : CaptureDevice(kDeviceUsbCamera) {
    // A camera has no sound to record.
    SetRecordAudio(0);
}

UsbCameraDevice::~UsbCameraDevice() {
    ShutDown();
}

int UsbCameraDevice::GetType() {
    return kDeviceUsbCamera;
}

int UsbCameraDevice::Init(const DeviceParams* params) {
    ResetCapture();
    ResetBaseFields();
    SetRecordAudio(0);
    const auto* camera = dynamic_cast<const UsbCameraParams*>(params);
    if (camera == nullptr) return 0;

    captureFilter_ = camera->captureFilter;
    SetFrameSize(camera->frameSize);
    // Names are cut to their limit; the stored lengths are not needed.
    StoreDisplayName(FieldText(camera->friendlyName, std::size(camera->friendlyName)));
    StoreDeviceKey(FieldText(camera->devicePath, std::size(camera->devicePath)));
    SetDisplayWindow(camera->displayWindow);
    SetNotifyWindow(camera->notifyWindow);
    SetStorageFolder(FieldText(camera->storageFolder, std::size(camera->storageFolder)));
    return 0;
}

void UsbCameraDevice::GetSettings(DeviceSettings& record) {
    {
        std::lock_guard<CriticalSection> lock(windowLock_);
        record.SetDeviceType(kDeviceUsbCamera);
        record.SetDeviceKey(deviceKey_);
    }
    WriteSharedSettings(record, /*masks=*/true);
}

void UsbCameraDevice::SetSettings(const DeviceSettings& record) {
    ApplySharedSettings(record, /*masks=*/true);
}

int UsbCameraDevice::Start() {
    const int frameSize = GetFrameSize();
    AM_MEDIA_TYPE rgb24;
    rgb24.majortype = MEDIATYPE_Video;
    rgb24.subtype = MEDIASUBTYPE_RGB24;
    rgb24.formattype = FORMAT_VideoInfo;
    StartCapture({L"Video Capture", MEDIATYPE_Video, rgb24,
                  [frameSize](IAMStreamConfig& config, int count, int size) {
                      ChooseCameraFormat(config, count, size, frameSize);
                      return S_OK;
                  }},
                 std::make_unique<CameraGrabberCallback>(this));
    return 1;
}

int UsbCameraDevice::GetBrightness(int useDefault) {
    return GetProcAmpLevel(captureFilter_, VideoProcAmp_Brightness, useDefault);
}
int UsbCameraDevice::SetBrightness(int level, int useDefault) {
    return SetProcAmpLevel(captureFilter_, VideoProcAmp_Brightness, level, useDefault);
}
int UsbCameraDevice::GetContrast(int useDefault) {
    return GetProcAmpLevel(captureFilter_, VideoProcAmp_Contrast, useDefault);
}
int UsbCameraDevice::SetContrast(int level, int useDefault) {
    return SetProcAmpLevel(captureFilter_, VideoProcAmp_Contrast, level, useDefault);
}

// The camera driver's own settings, in the layer's settings window titled with the camera's name; a capture
// filter without driver controls has nothing to open.
int UsbCameraDevice::ShowPropertyPages(HWND owner) {
    const auto controls = QueryInterface<IDriverControls>(captureFilter_);
    if (!controls) return 0;
    wchar_t name[256] = {};
    GetFriendlyName(name, 255);
    return ShowCameraControls(owner, name, *controls) ? 1 : 0;
}

}  // namespace kestrova
