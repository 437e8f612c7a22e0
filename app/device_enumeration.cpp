#include "app/device_enumeration.h"

namespace kestrova {
namespace {

using namespace media;

constexpr size_t kMaxValueChars = 255;
constexpr size_t kMaxKeyNameChars = 200;

std::wstring ReadText(IPropertyBag& bag, const wchar_t* name) {
    VARIANT value;
    if (FAILED(bag.Read(name, &value)) || value.vt != VT_BSTR) return {};
    return value.bstrVal.substr(0, kMaxValueChars);
}

std::optional<int32_t> ReadNumber(IPropertyBag& bag, const wchar_t* name) {
    VARIANT value;
    if (FAILED(bag.Read(name, &value)) || value.vt != VT_I4) return std::nullopt;
    return value.lVal;
}

}  // namespace

std::vector<CaptureDeviceEntry> EnumerateCaptureDevices(CaptureCategory category) {
    const CLSID& id = category == CaptureCategory::kVideoInput ? CLSID_VideoInputDeviceCategory
                                                               : CLSID_AudioInputDeviceCategory;
    SystemDeviceEnum enumerator;
    std::vector<std::shared_ptr<IMoniker>> monikers;
    if (enumerator.CreateClassEnumerator(id, &monikers) != S_OK) return {};

    std::vector<CaptureDeviceEntry> devices;
    for (std::shared_ptr<IMoniker>& moniker : monikers) {
        CaptureDeviceEntry device;
        std::shared_ptr<IPropertyBag> bag;
        if (SUCCEEDED(moniker->BindToStorage(&bag)) && bag) {
            device.friendlyName = ReadText(*bag, L"FriendlyName");
            device.devicePath = ReadText(*bag, L"DevicePath");
            device.waveInId = ReadNumber(*bag, L"WaveInID");
        }
        device.moniker = std::move(moniker);
        devices.push_back(std::move(device));
    }
    return devices;
}

std::wstring MicrophoneKey(const CaptureDeviceEntry& device) {
    if (!device.waveInId) return {};
    return std::to_wstring(*device.waveInId) + L" " + device.friendlyName.substr(0, kMaxKeyNameChars);
}

}  // namespace kestrova
