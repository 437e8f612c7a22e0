#pragma once
// The Null Renderer: takes every sample of any type and drops it.

#include "platform/media/base_filter.h"

namespace kestrova::media {

class NullRenderer : public IBaseFilter {
public:
    NullRenderer();

protected:
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;
};

}  // namespace kestrova::media
