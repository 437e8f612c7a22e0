#include "platform/media/device_enumerator.h"

#include <cstdlib>
#include <cstring>

#include "platform/base/text.h"
#include "platform/media/alsa/alsa_capture.h"
#include "platform/media/alsa/alsa_devices.h"
#include "platform/media/v4l2/v4l2_camera.h"
#include "platform/media/v4l2/v4l2_devices.h"
#include "platform/media/virtual/virtual_camera.h"
#include "platform/media/virtual/virtual_microphone.h"

namespace kestrova::media {

const CLSID CLSID_VideoInputDeviceCategory = L"{860BB310-5D01-11D0-BD3B-00A0C911CE86}";
const CLSID CLSID_AudioInputDeviceCategory = L"{33D9A762-90C8-11D0-BD43-00A0C911CE86}";

const wchar_t kVirtualCameraName[] = L"Kestrova Virtual Camera";
const wchar_t kVirtualCameraPath[] = L"virtual:camera";
const wchar_t kVirtualMicrophoneName[] = L"Kestrova Virtual Microphone";

namespace {

using Factory = std::function<std::shared_ptr<IBaseFilter>()>;

class DeviceMoniker : public IMoniker {
public:
    DeviceMoniker(std::shared_ptr<PropertyBag> bag, Factory factory)
        : bag_(std::move(bag)), factory_(std::move(factory)) {}

    HRESULT BindToStorage(std::shared_ptr<IPropertyBag>* bag) override {
        if (!bag) return E_POINTER;
        *bag = bag_;
        return S_OK;
    }

    HRESULT BindToObject(std::shared_ptr<IBaseFilter>* filter) override {
        if (!filter) return E_POINTER;
        *filter = factory_();
        return *filter ? S_OK : VFW_E_NOT_FOUND;
    }

private:
    std::shared_ptr<PropertyBag> bag_;
    Factory factory_;
};

bool VirtualDevicesWanted() {
    const char* value = std::getenv("KESTROVA_VIRTUAL_DEVICES");
    return value && *value && std::strcmp(value, "0") != 0;
}

// A filter made by `make`, or null when it is not usable.
template <class Filter, class Name>
Factory UsableFilter(Name name) {
    return [name] {
        auto filter = std::make_shared<Filter>(name);
        return filter->Usable() ? std::shared_ptr<IBaseFilter>(filter) : nullptr;
    };
}

template <class Filter>
Factory VirtualFilter() {
    return [] { return std::shared_ptr<IBaseFilter>(std::make_shared<Filter>()); };
}

void AddCamera(std::vector<std::shared_ptr<IMoniker>>* monikers, const std::wstring& name,
               const std::wstring& path, Factory factory) {
    auto bag = std::make_shared<PropertyBag>();
    bag->Write(L"FriendlyName", name);
    bag->Write(L"DevicePath", path);
    monikers->push_back(std::make_shared<DeviceMoniker>(bag, std::move(factory)));
}

void AddMicrophone(std::vector<std::shared_ptr<IMoniker>>* monikers, const std::wstring& name,
                   Factory factory) {
    auto bag = std::make_shared<PropertyBag>();
    bag->Write(L"FriendlyName", name);
    bag->Write(L"WaveInID", int32_t(monikers->size()));
    monikers->push_back(std::make_shared<DeviceMoniker>(bag, std::move(factory)));
}

}  // namespace

HRESULT SystemDeviceEnum::CreateClassEnumerator(const CLSID& category,
                                                std::vector<std::shared_ptr<IMoniker>>* monikers) {
    if (!monikers) return E_POINTER;
    monikers->clear();
    if (category == CLSID_VideoInputDeviceCategory) {
        for (const V4l2Device& camera : ListV4l2Cameras()) {
            AddCamera(monikers, camera.friendlyName, camera.devicePath,
                      UsableFilter<V4l2Camera>(camera.node));
        }
        if (VirtualDevicesWanted()) {
            AddCamera(monikers, kVirtualCameraName, kVirtualCameraPath, VirtualFilter<VirtualCamera>());
        }
    } else if (category == CLSID_AudioInputDeviceCategory) {
        for (const AlsaDevice& device : ListAlsaCaptureDevices()) {
            AddMicrophone(monikers, device.friendlyName, UsableFilter<AlsaCapture>(device.pcmName));
        }
        if (VirtualDevicesWanted()) {
            AddMicrophone(monikers, kVirtualMicrophoneName, VirtualFilter<VirtualMicrophone>());
        }
    } else {
        return E_INVALIDARG;
    }
    return monikers->empty() ? S_FALSE : S_OK;
}

}  // namespace kestrova::media
