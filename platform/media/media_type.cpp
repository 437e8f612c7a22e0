#include "platform/media/media_type.h"

namespace kestrova::media {

const VIDEOINFOHEADER* AM_MEDIA_TYPE::VideoInfo() const {
    if (formattype != FORMAT_VideoInfo || format.size() < sizeof(VIDEOINFOHEADER)) return nullptr;
    return reinterpret_cast<const VIDEOINFOHEADER*>(format.data());
}

VIDEOINFOHEADER* AM_MEDIA_TYPE::VideoInfo() {
    return const_cast<VIDEOINFOHEADER*>(static_cast<const AM_MEDIA_TYPE*>(this)->VideoInfo());
}

const WAVEFORMATEX* AM_MEDIA_TYPE::WaveFormat() const {
    if (formattype != FORMAT_WaveFormatEx || format.size() < sizeof(WAVEFORMATEX)) return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(format.data());
}

uint32_t BitmapStride(int width, int bitCount) {
    return (uint32_t(width) * uint32_t(bitCount) + 31) / 32 * 4;
}

AM_MEDIA_TYPE MakeVideoType(SubType subtype, int width, int height, int bitCount,
                            REFERENCE_TIME timePerFrame) {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = FORMAT_VideoInfo;
    VIDEOINFOHEADER info;
    info.AvgTimePerFrame = timePerFrame;
    BITMAPINFOHEADER& bmi = info.bmiHeader;
    bmi.biWidth = width;
    bmi.biHeight = height;
    bmi.biBitCount = uint16_t(bitCount);
    switch (subtype) {
        case MEDIASUBTYPE_YUY2:
            bmi.biCompression = kFourCCYuy2;
            break;
        case MEDIASUBTYPE_MJPG:
            bmi.biCompression = kFourCCMjpg;
            break;
        default:
            bmi.biCompression = BI_RGB;
            break;
    }
    bmi.biSizeImage = BitmapStride(width, bitCount) * uint32_t(height < 0 ? -height : height);
    const bool compressed = subtype == MEDIASUBTYPE_MJPG;
    type.bFixedSizeSamples = !compressed;
    type.bTemporalCompression = false;
    type.lSampleSize = compressed ? 0 : bmi.biSizeImage;
    if (timePerFrame > 0) {
        info.dwBitRate = uint32_t(uint64_t(bmi.biSizeImage) * 8 * kUnitsPerSecond / uint64_t(timePerFrame));
    }
    type.format.resize(sizeof(info));
    std::memcpy(type.format.data(), &info, sizeof(info));
    return type;
}

AM_MEDIA_TYPE MakePcmType(uint32_t samplesPerSecond, uint16_t channels, uint16_t bitsPerSample) {
    AM_MEDIA_TYPE type;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_PCM;
    type.formattype = FORMAT_WaveFormatEx;
    WAVEFORMATEX wave;
    wave.nChannels = channels;
    wave.nSamplesPerSec = samplesPerSecond;
    wave.wBitsPerSample = bitsPerSample;
    wave.nBlockAlign = uint16_t(channels * bitsPerSample / 8);
    wave.nAvgBytesPerSec = samplesPerSecond * wave.nBlockAlign;
    type.bFixedSizeSamples = true;
    type.lSampleSize = wave.nBlockAlign;
    type.format.resize(sizeof(wave));
    std::memcpy(type.format.data(), &wave, sizeof(wave));
    return type;
}

uint32_t FrameBytes(const AM_MEDIA_TYPE& type) {
    const VIDEOINFOHEADER* info = type.VideoInfo();
    if (!info) return 0;
    const BITMAPINFOHEADER& bmi = info->bmiHeader;
    if (bmi.biSizeImage) return bmi.biSizeImage;
    const int64_t height = bmi.biHeight < 0 ? -int64_t(bmi.biHeight) : bmi.biHeight;
    return uint32_t(BitmapStride(bmi.biWidth, bmi.biBitCount) * height);
}

bool MatchesPattern(const AM_MEDIA_TYPE& pattern, const AM_MEDIA_TYPE& type) {
    if (pattern.majortype != MEDIATYPE_None && pattern.majortype != type.majortype) return false;
    if (pattern.subtype != MEDIASUBTYPE_None && pattern.subtype != type.subtype) return false;
    if (pattern.formattype != FORMAT_None && pattern.formattype != type.formattype) return false;
    return pattern.format.empty() || pattern.format == type.format;
}

}  // namespace kestrova::media
