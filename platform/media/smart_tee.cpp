#include "platform/media/smart_tee.h"

namespace kestrova::media {

SmartTee::SmartTee()
    : input_(AddPin(L"Input", PINDIR_INPUT)),
      capture_(AddPin(L"Capture", PINDIR_OUTPUT, PIN_CATEGORY_CAPTURE)),
      preview_(AddPin(L"Preview", PINDIR_OUTPUT, PIN_CATEGORY_PREVIEW)) {}

std::vector<AM_MEDIA_TYPE> SmartTee::PinMediaTypes(IPin& pin) {
    if (&pin != input_ && input_->IsConnected()) return {input_->ConnectedType()};
    return {};
}

bool SmartTee::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == input_) return true;
    return input_->IsConnected() && type == input_->ConnectedType();
}

HRESULT SmartTee::Receive(IPin&, MediaSample& sample) {
    const HRESULT hr = capture_->Deliver(sample);
    if (FAILED(hr)) return hr;
    // The preview branch gets what the capture branch left; a preview that fails does not end the capture.
    preview_->Deliver(sample);
    return hr;
}

}  // namespace kestrova::media
