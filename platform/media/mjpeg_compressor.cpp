#include "platform/media/mjpeg_compressor.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>

namespace kestrova::media {
namespace {

bool IsRgb24Frame(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = type.VideoInfo();
    return type.majortype == MEDIATYPE_Video && type.subtype == MEDIASUBTYPE_RGB24 && info &&
           info->bmiHeader.biBitCount == 24 && info->bmiHeader.biWidth > 0 && info->bmiHeader.biHeight != 0;
}

}  // namespace

MjpegCompressor::MjpegCompressor()
    : input_(AddPin(L"Input", PINDIR_INPUT)),
      output_(AddPin(L"Output", PINDIR_OUTPUT)),
      jpeg_(tjInitCompress()) {}

MjpegCompressor::~MjpegCompressor() {
    if (jpeg_) tjDestroy(jpeg_);
}

HRESULT MjpegCompressor::put_Quality(double quality) {
    if (quality > 1.0) return E_INVALIDARG;
    quality_.store(quality < 0 ? kDefaultQuality : quality);
    return S_OK;
}

HRESULT MjpegCompressor::get_Quality(double* quality) {
    if (!quality) return E_POINTER;
    *quality = quality_.load();
    return S_OK;
}

int MjpegCompressor::JpegQuality(double quality) {
    return std::clamp(int(std::lround(quality * 100.0)), 1, 100);
}

std::vector<AM_MEDIA_TYPE> MjpegCompressor::PinMediaTypes(IPin& pin) {
    if (&pin != output_ || !input_->IsConnected()) return {};
    const VIDEOINFOHEADER* in = input_->ConnectedType().VideoInfo();
    const int height = std::abs(in->bmiHeader.biHeight);
    return {MakeVideoType(MEDIASUBTYPE_MJPG, in->bmiHeader.biWidth, height, 24, in->AvgTimePerFrame)};
}

bool MjpegCompressor::PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) {
    if (&pin == input_) return jpeg_ && IsRgb24Frame(type);
    const auto offered = PinMediaTypes(pin);
    return !offered.empty() && offered.front() == type;
}

void MjpegCompressor::PinConnected(IPin& pin) {
    if (&pin != input_) return;
    const VIDEOINFOHEADER* in = input_->ConnectedType().VideoInfo();
    out_.resize(tjBufSize(in->bmiHeader.biWidth, std::abs(in->bmiHeader.biHeight), TJSAMP_420));
}

HRESULT MjpegCompressor::Receive(IPin&, MediaSample& sample) {
    const BITMAPINFOHEADER& bmi = input_->ConnectedType().VideoInfo()->bmiHeader;
    const int width = bmi.biWidth;
    const int height = std::abs(bmi.biHeight);
    const int pitch = int(BitmapStride(width, 24));
    if (sample.length < size_t(pitch) * size_t(height)) return S_FALSE;  // a short frame is dropped

    unsigned char* out = out_.data();
    unsigned long size = out_.size();
    const int flags = TJFLAG_NOREALLOC | (bmi.biHeight > 0 ? TJFLAG_BOTTOMUP : 0);
    if (tjCompress2(jpeg_, sample.data, width, pitch, height, TJPF_BGR, &out, &size, TJSAMP_420,
                    JpegQuality(quality_.load()), flags) != 0) {
        return E_FAIL;
    }
    MediaSample jpeg = sample;
    jpeg.data = out_.data();
    jpeg.length = size;
    jpeg.syncPoint = true;
    return output_->Deliver(jpeg);
}

}  // namespace kestrova::media
