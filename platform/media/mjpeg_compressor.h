#pragma once
// The MJPEG Compressor: RGB24 frames in, one JPEG per frame out (libjpeg-turbo).

#include <atomic>
#include <vector>

#include "platform/media/base_filter.h"

namespace kestrova::media {

class IAMVideoCompression {
public:
    virtual ~IAMVideoCompression() = default;
    // Quality from 0 (smallest) to 1 (best); a negative value restores the default.
    virtual HRESULT put_Quality(double quality) = 0;
    virtual HRESULT get_Quality(double* quality) = 0;
};

class MjpegCompressor : public IBaseFilter, public IAMVideoCompression {
public:
    static constexpr double kDefaultQuality = 0.75;

    MjpegCompressor();
    ~MjpegCompressor() override;

    HRESULT put_Quality(double quality) override;
    HRESULT get_Quality(double* quality) override;

    // The JPEG quality (1..100) that a quality of 0..1 gives: quality x 100, rounded, at least 1. So 0.5 is
    // JPEG quality 50 and 1.0 is 100.
    static int JpegQuality(double quality);

protected:
    std::vector<AM_MEDIA_TYPE> PinMediaTypes(IPin& pin) override;
    bool PinAccepts(IPin& pin, const AM_MEDIA_TYPE& type) override;
    void PinConnected(IPin& pin) override;
    HRESULT Receive(IPin& pin, MediaSample& sample) override;

private:
    IPin* input_;
    IPin* output_;
    std::atomic<double> quality_{kDefaultQuality};
    void* jpeg_;  // the TurboJPEG compressor, used only on the streaming thread
    std::vector<uint8_t> out_;
};

}  // namespace kestrova::media
