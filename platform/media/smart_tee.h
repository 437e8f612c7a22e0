#pragma once
// The Smart Tee: one input, sent on to a capture output and a preview output.

#include "platform/media/base_filter.h"

namespace kestrova::media {

class SmartTee : public IBaseFilter {
public:
    SmartTee();

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;

private:
    IPin* input_;
    IPin* capture_;
    IPin* preview_;
};

}  // namespace kestrova::media
