#pragma once
// Media types: what flows over a pin connection (major type, subtype, format type) and the format block that
// describes it in detail (a video info header or a wave format).

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/imaging/bitmap.h"
#include "platform/ui/types.h"

namespace kestrova::media {

enum MajorType : uint32_t {
    MEDIATYPE_None = 0,  // as a pattern: any major type
    MEDIATYPE_Video,
    MEDIATYPE_Audio,
    MEDIATYPE_Stream,  // bytes of a file, each sample written at a position
};

enum SubType : uint32_t {
    MEDIASUBTYPE_None = 0,  // as a pattern: any subtype
    MEDIASUBTYPE_RGB24,
    MEDIASUBTYPE_YUY2,
    MEDIASUBTYPE_MJPG,
    MEDIASUBTYPE_PCM,
    MEDIASUBTYPE_Avi,
    MEDIASUBTYPE_WAVE,
};

enum FormatType : uint32_t {
    FORMAT_None = 0,  // as a pattern: any format type
    FORMAT_VideoInfo,
    FORMAT_WaveFormatEx,
};

// Media time: 100-nanosecond units.
using REFERENCE_TIME = int64_t;
inline constexpr REFERENCE_TIME kUnitsPerSecond = 10'000'000;

using BITMAPINFOHEADER = imaging::BitmapInfoHeader;

// Four-character codes as bitmap headers carry them in biCompression.
inline constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t kFourCCYuy2 = MakeFourCC('Y', 'U', 'Y', '2');
inline constexpr uint32_t kFourCCMjpg = MakeFourCC('M', 'J', 'P', 'G');

// The format block of a video type: 88 bytes.
struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    uint32_t dwBitRate = 0;
    uint32_t dwBitErrorRate = 0;
    REFERENCE_TIME AvgTimePerFrame = 0;
    BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88);

inline constexpr uint16_t WAVE_FORMAT_PCM = 1;

// The format block of an audio type: 18 bytes, no padding.
#pragma pack(push, 1)
struct WAVEFORMATEX {
    uint16_t wFormatTag = WAVE_FORMAT_PCM;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

// A media type with its format block. Copies own their block, so a type read from a pin is freed by letting
// it go out of scope.
struct AM_MEDIA_TYPE {
    MajorType majortype = MEDIATYPE_None;
    SubType subtype = MEDIASUBTYPE_None;
    bool bFixedSizeSamples = false;
    bool bTemporalCompression = false;
    uint32_t lSampleSize = 0;
    FormatType formattype = FORMAT_None;
    std::vector<uint8_t> format;  // empty: no format block

    size_t cbFormat() const { return format.size(); }
    const uint8_t* pbFormat() const { return format.empty() ? nullptr : format.data(); }

    // The format block as a video info header, or null when it is not one (wrong format type or too short).
    const VIDEOINFOHEADER* VideoInfo() const;
    VIDEOINFOHEADER* VideoInfo();
    // The format block as a wave format, or null when it is not one.
    const WAVEFORMATEX* WaveFormat() const;

    // Same types and the same format bytes.
    bool operator==(const AM_MEDIA_TYPE& other) const = default;
};

// A video type of `subtype` with a bitmap header of width x height (positive height: bottom-up rows),
// `bitCount` bits per pixel and one frame every `timePerFrame`.
AM_MEDIA_TYPE MakeVideoType(SubType subtype, int width, int height, int bitCount,
                            REFERENCE_TIME timePerFrame);
// A PCM audio type.
AM_MEDIA_TYPE MakePcmType(uint32_t samplesPerSecond, uint16_t channels, uint16_t bitsPerSample);
// The bytes of one row of a bitmap: rows are padded to a multiple of 4 bytes.
uint32_t BitmapStride(int width, int bitCount);
// The bytes of one video frame in `type` (its bitmap header's image size, or the rows' bytes).
uint32_t FrameBytes(const AM_MEDIA_TYPE& type);

// True when `type` fits `pattern`: every type field of the pattern is None or equal, and a pattern with a
// format block needs the same block.
bool MatchesPattern(const AM_MEDIA_TYPE& pattern, const AM_MEDIA_TYPE& type);

}  // namespace kestrova::media
