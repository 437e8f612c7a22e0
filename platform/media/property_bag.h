#pragma once
// A capture device's named values, as the device enumerator gives them: "FriendlyName", "DevicePath"
// (cameras), "WaveInID" (audio inputs).

#include <cstdint>
#include <map>
#include <string>

#include "platform/media/results.h"

namespace kestrova::media {

enum VARENUM : uint16_t { VT_EMPTY = 0, VT_I4 = 3, VT_BSTR = 8 };

struct VARIANT {
    VARENUM vt = VT_EMPTY;
    int32_t lVal = 0;      // VT_I4
    std::wstring bstrVal;  // VT_BSTR
};

class IPropertyBag {
public:
    virtual ~IPropertyBag() = default;
    // The value of `name`; E_FAIL (and `value` emptied) when the bag has none.
    virtual HRESULT Read(const std::wstring& name, VARIANT* value) = 0;
};

class PropertyBag : public IPropertyBag {
public:
    void Write(const std::wstring& name, std::wstring text);
    void Write(const std::wstring& name, int32_t number);

    HRESULT Read(const std::wstring& name, VARIANT* value) override;

private:
    std::map<std::wstring, VARIANT> values_;
};

}  // namespace kestrova::media
