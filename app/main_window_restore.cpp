// Restoring "DevList.db" and adding the attached USB cameras when the main window is created.
#include <iterator>
#include <memory>
#include <vector>

#include "app/device_enumeration.h"
#include "app/device_list_file.h"
#include "app/main_window.h"
#include "engine/device_settings.h"
#include "engine/ipcam/ip_camera_device.h"
#include "engine/mic/microphone_device.h"
#include "engine/usbcam/usb_camera_device.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr int32_t kIpCameraTimeoutSeconds = 5;

// A new device of the kind, initialised with `params`, with the record applied when there is one, added
// to the list (which destroys it when no name is free for it).
template <class Kind, class Params>
void AddDevice(DeviceList& devices, const Params& params, const DeviceSettings* record) {
    auto device = std::make_unique<Kind>();
    device->SetDeletedMark(0);
    device->Init(&params);
    if (record != nullptr) device->SetSettings(*record);
    devices.Add(device.release());
}

void AddUsbCamera(MainWindow& window, const CaptureDeviceEntry& camera, const DeviceSettings* record) {
    UsbCameraParams params;
    if (media::FAILED(camera.moniker->BindToObject(&params.captureFilter))) return;
    CopyWide(camera.friendlyName, params.friendlyName, std::size(params.friendlyName) - 1);
    CopyWide(camera.devicePath, params.devicePath, std::size(params.devicePath) - 1);
    window.FillNewDeviceParams(params);
    AddDevice<UsbCameraDevice>(window.GetDeviceList(), params, record);
}

}  // namespace

void MainWindow::RestoreDevices() {
    std::vector<DeviceSettings> records;
    if (!DeviceListFile::Load(records)) return;
    for (const DeviceSettings& record : records) {
        switch (record.GetDeviceType()) {
            case kDeviceMicrophone:
                RestoreMicrophone(record);
                break;
            case kDeviceUsbCamera:
                RestoreUsbCamera(record);
                break;
            case kDeviceIpCamera:
                RestoreIpCamera(record);
                break;
            default:  // a kind this program does not know
                break;
        }
    }
}

void MainWindow::RestoreMicrophone(const DeviceSettings& record) {
    // A microphone whose wave-in number cannot be read has no key: it matches no record, keyless or not.
    const std::wstring wanted = record.GetDeviceKey();
    if (wanted.empty() || devices_.FindByKey(wanted) != nullptr) return;
    for (const CaptureDeviceEntry& mic : EnumerateCaptureDevices(CaptureCategory::kAudioInput)) {
        if (MicrophoneKey(mic) != wanted) continue;
        MicrophoneParams params;
        // One filter for the live graph, one for the recording graph.
        if (media::FAILED(mic.moniker->BindToObject(&params.captureFilter)) ||
            media::FAILED(mic.moniker->BindToObject(&params.recordingCaptureFilter))) {
            return;
        }
        CopyWide(mic.friendlyName, params.friendlyName, std::size(params.friendlyName) - 1);
        CopyWide(wanted, params.deviceKey, std::size(params.deviceKey) - 1);
        params.pictureResourceId = kMicrophoneSymbolResource;
        FillNewDeviceParams(params);
        AddDevice<MicrophoneDevice>(devices_, params, &record);
        return;
    }
}

void MainWindow::RestoreUsbCamera(const DeviceSettings& record) {
    const std::wstring wanted = record.GetDeviceKey();
    if (wanted.empty() || devices_.FindByKey(wanted) != nullptr) return;
    for (const CaptureDeviceEntry& camera : EnumerateCaptureDevices(CaptureCategory::kVideoInput)) {
        if (camera.devicePath != wanted) continue;
        AddUsbCamera(*this, camera, &record);
        return;
    }
}

void MainWindow::RestoreIpCamera(const DeviceSettings& record) {
    IpCameraParams params;
    params.port = record.GetCameraPort();
    // The record's texts are at most 255 bytes and the fields start zeroed, so each stays terminated.
    record.GetCameraHost().copy(params.host, sizeof params.host - 1);
    record.GetCameraUser().copy(params.user, sizeof params.user - 1);
    record.GetCameraPassword().copy(params.password, sizeof params.password - 1);
    params.connectTimeout = kIpCameraTimeoutSeconds;
    params.receiveTimeout = kIpCameraTimeoutSeconds;
    FillNewDeviceParams(params);
    // No check for a camera listed already: the list makes the name unique.
    AddDevice<IpCameraDevice>(devices_, params, &record);
}

void MainWindow::AddUsbVideoDevices() {
    for (const CaptureDeviceEntry& camera : EnumerateCaptureDevices(CaptureCategory::kVideoInput)) {
        if (devices_.FindByKey(camera.devicePath) != nullptr) continue;
        AddUsbCamera(*this, camera, nullptr);
    }
}

}  // namespace kestrova
