#include "platform/media/null_renderer.h"

namespace kestrova::media {

NullRenderer::NullRenderer() {
    AddPin(L"In", PINDIR_INPUT);
}

bool NullRenderer::PinAccepts(IPin&, const AM_MEDIA_TYPE&) {
    return true;
}

HRESULT NullRenderer::Receive(IPin&, MediaSample&) {
    return S_OK;
}

}  // namespace kestrova::media
