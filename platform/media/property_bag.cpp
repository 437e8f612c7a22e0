#include "platform/media/property_bag.h"

namespace kestrova::media {

void PropertyBag::Write(const std::wstring& name, std::wstring text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = std::move(text);
    values_[name] = std::move(value);
}

void PropertyBag::Write(const std::wstring& name, int32_t number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    values_[name] = std::move(value);
}

HRESULT PropertyBag::Read(const std::wstring& name, VARIANT* value) {
    if (!value) return E_POINTER;
    const auto it = values_.find(name);
    if (it == values_.end()) {
        *value = VARIANT{};
        return E_FAIL;
    }
    *value = it->second;
    return S_OK;
}

}  // namespace kestrova::media
