#pragma once
// The converter that the graph puts between a camera's native frames and an RGB24 receiver: YUY2 (4:2:2)
// or MJPG frames in, RGB24 bitmaps out (bottom row first, blue-green-red bytes).

#include <vector>

#include "platform/media/base_filter.h"

namespace kestrova::media {

class VideoConverter : public IBaseFilter {
public:
    VideoConverter();

    // Converts one top-down YUY2 frame into a bottom-up RGB24 bitmap of width x height (width even).
    static void Yuy2ToBottomUpBgr(const uint8_t* yuy2, int width, int height, uint8_t* bgr);

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    void PinConnected(IPin& pin) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;

private:
    IPin* input_;
    IPin* output_;
    std::vector<uint8_t> out_;
};

}  // namespace kestrova::media
