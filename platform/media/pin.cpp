#include "platform/media/pin.h"

#include "platform/media/base_filter.h"

namespace kestrova::media {

IPin::IPin(IBaseFilter& owner, std::wstring name, PIN_DIRECTION direction, PinCategory category)
    : owner_(owner), name_(std::move(name)), direction_(direction), category_(category) {}

HRESULT IPin::ConnectionMediaType(AM_MEDIA_TYPE* type) const {
    if (!type) return E_POINTER;
    if (!peer_) return VFW_E_NOT_CONNECTED;
    *type = type_;
    return S_OK;
}

std::vector<AM_MEDIA_TYPE> IPin::MediaTypes() {
    return owner_.PinMediaTypes(*this);
}

bool IPin::Accepts(const AM_MEDIA_TYPE& type) {
    return owner_.PinAccepts(*this, type);
}

IAMStreamConfig* IPin::StreamConfig() {
    return owner_.PinStreamConfig(*this);
}

HRESULT IPin::Deliver(MediaSample& sample) {
    if (direction_ != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
    if (!peer_) return S_OK;
    return peer_->owner_.Receive(*peer_, sample);
}

}  // namespace kestrova::media
