#pragma once
// The system device enumerator: the capture devices attached now, by category, each as a moniker that
// gives the device's property bag and binds a new capture filter for it on every call (a microphone is
// bound twice: one filter for the live graph, one for recording).
//
// Video inputs are the V4L2 cameras, audio inputs the ALSA capture devices. The virtual camera and
// microphone follow them when the environment variable KESTROVA_VIRTUAL_DEVICES is set to anything but
// "" or "0".

#include <functional>
#include <memory>
#include <vector>

#include "platform/media/base_filter.h"
#include "platform/media/filter_classes.h"
#include "platform/media/property_bag.h"

namespace kestrova::media {

extern const CLSID CLSID_VideoInputDeviceCategory;
extern const CLSID CLSID_AudioInputDeviceCategory;

// The names the virtual devices are listed with.
extern const wchar_t kVirtualCameraName[];
extern const wchar_t kVirtualCameraPath[];
extern const wchar_t kVirtualMicrophoneName[];

class IMoniker {
public:
    virtual ~IMoniker() = default;
    virtual HRESULT BindToStorage(std::shared_ptr<IPropertyBag>* bag) = 0;
    // A new capture filter for the device; VFW_E_NOT_FOUND when the device cannot be opened now.
    virtual HRESULT BindToObject(std::shared_ptr<IBaseFilter>* filter) = 0;
};

class SystemDeviceEnum {
public:
    // The devices of `category`, in a stable order: S_OK with at least one, S_FALSE with none, E_INVALIDARG
    // for a category the layer does not know.
    HRESULT CreateClassEnumerator(const CLSID& category, std::vector<std::shared_ptr<IMoniker>>* monikers);
};

}  // namespace kestrova::media
