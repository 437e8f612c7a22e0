#include "platform/media/video_converter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/imaging/bitmap.h"

namespace kestrova::media {
namespace {

uint8_t Clip(int v) {
    return uint8_t(std::clamp(v, 0, 255));
}

bool IsConvertible(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = type.VideoInfo();
    if (type.majortype != MEDIATYPE_Video || !info || info->bmiHeader.biWidth <= 0) return false;
    if (type.subtype == MEDIASUBTYPE_YUY2) return info->bmiHeader.biWidth % 2 == 0;
    return type.subtype == MEDIASUBTYPE_MJPG;
}

}  // namespace

VideoConverter::VideoConverter()
    : input_(AddPin(L"Input", PINDIR_INPUT)), output_(AddPin(L"Output", PINDIR_OUTPUT)) {}

void VideoConverter::Yuy2ToBottomUpBgr(const uint8_t* yuy2, int width, int height, uint8_t* bgr) {
    // ITU-R BT.601, studio range, in 8-bit fixed point.
    const size_t stride = BitmapStride(width, 24);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = yuy2 + size_t(y) * size_t(width) * 2;
        uint8_t* out = bgr + size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; x += 2, in += 4) {
            const int d = in[1] - 128;
            const int e = in[3] - 128;
            for (int k = 0; k < 2; ++k) {
                const int c = 298 * (in[k * 2] - 16);
                *out++ = Clip((c + 516 * d + 128) >> 8);
                *out++ = Clip((c - 100 * d - 208 * e + 128) >> 8);
                *out++ = Clip((c + 409 * e + 128) >> 8);
            }
        }
    }
}

std::vector<AM_MEDIA_TYPE> VideoConverter::PinMediaTypes(IPin& pin) {
    if (&pin != output_ || !input_->IsConnected()) return {};
    const VIDEOINFOHEADER* in = input_->ConnectedType().VideoInfo();
    return {MakeVideoType(MEDIASUBTYPE_RGB24, in->bmiHeader.biWidth, std::abs(in->bmiHeader.biHeight), 24,
                          in->AvgTimePerFrame)};
}

bool VideoConverter::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == input_) return IsConvertible(type);
    const auto offered = PinMediaTypes(pin);
    return !offered.empty() && offered.front() == type;
}

void VideoConverter::PinConnected(IPin& pin) {
    if (&pin == input_) out_.resize(FrameBytes(PinMediaTypes(*output_).front()));
}

HRESULT VideoConverter::Receive(IPin&, MediaSample& sample) {
    const AM_MEDIA_TYPE& type = input_->ConnectedType();
    const BITMAPINFOHEADER& bmi = type.VideoInfo()->bmiHeader;
    const int width = bmi.biWidth;
    const int height = std::abs(bmi.biHeight);
    if (type.subtype == MEDIASUBTYPE_YUY2) {
        if (sample.length < size_t(width) * size_t(height) * 2) return S_FALSE;  // a short frame is dropped
        Yuy2ToBottomUpBgr(sample.data, width, height, out_.data());
    } else {
        // The imaging layer's decoder: a damaged frame leaves it ready for the next one. Rows go bottom-up.
        const int stride = int(BitmapStride(width, 24));
        uint8_t* top = out_.data() + size_t(height - 1) * size_t(stride);
        if (imaging::DecodeInto(sample.data, sample.length, width, height, top, -stride) !=
            imaging::Status::Ok) {
            return S_FALSE;  // a damaged frame or one of another size is dropped
        }
    }
    MediaSample rgb = sample;
    rgb.data = out_.data();
    rgb.length = out_.size();
    return output_->Deliver(rgb);
}

}  // namespace kestrova::media
