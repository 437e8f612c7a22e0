#include "app/windows/new_capture_devices.h"

#include <iterator>
#include <memory>

#include "app/device_enumeration.h"
#include "app/main_window.h"
#include "engine/device_list.h"
#include "engine/mic/microphone_device.h"
#include "engine/usbcam/usb_camera_device.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr int kNameChars = 255;

// Creates the device crossed, lists it and adds its name to `names`; nothing when the list refuses it.
template <class Kind, class Params>
void AddCrossed(MainWindow& main, const Params& params, std::vector<std::wstring>& names) {
    auto device = std::make_unique<Kind>();
    device->Init(&params);
    device->SetDeletedMark(1);
    device->SetSavedMark(1);
    Device* listed = main.GetDeviceList().Add(device.release());
    if (!listed) return;
    wchar_t name[kNameChars + 1] = {};
    listed->GetFriendlyName(name, kNameChars);
    names.emplace_back(name);
}

}  // namespace

std::vector<std::wstring> AddNewMicrophones(MainWindow& main) {
    std::vector<std::wstring> names;
    for (const CaptureDeviceEntry& mic : EnumerateCaptureDevices(CaptureCategory::kAudioInput)) {
        // A microphone without a wave-in number has no key, matches nothing, and is made again each time.
        const std::wstring key = MicrophoneKey(mic);
        if (main.GetDeviceList().FindByKey(key)) continue;
        MicrophoneParams params;
        mic.moniker->BindToObject(&params.captureFilter);
        mic.moniker->BindToObject(&params.recordingCaptureFilter);
        CopyWide(mic.friendlyName, params.friendlyName, std::size(params.friendlyName) - 1);
        CopyWide(key, params.deviceKey, std::size(params.deviceKey) - 1);
        params.pictureResourceId = kMicrophoneSymbolResource;
        main.FillNewDeviceParams(params);
        AddCrossed<MicrophoneDevice>(main, params, names);
    }
    return names;
}

std::vector<std::wstring> AddNewUsbCameras(MainWindow& main) {
    std::vector<std::wstring> names;
    for (const CaptureDeviceEntry& camera : EnumerateCaptureDevices(CaptureCategory::kVideoInput)) {
        if (main.GetDeviceList().FindByKey(camera.devicePath)) continue;
        // Whether the filter could be bound shows when the camera is powered on.
        UsbCameraParams params;
        camera.moniker->BindToObject(&params.captureFilter);
        CopyWide(camera.friendlyName, params.friendlyName, std::size(params.friendlyName) - 1);
        CopyWide(camera.devicePath, params.devicePath, std::size(params.devicePath) - 1);
        main.FillNewDeviceParams(params);
        AddCrossed<UsbCameraDevice>(main, params, names);
    }
    return names;
}

}  // namespace kestrova
