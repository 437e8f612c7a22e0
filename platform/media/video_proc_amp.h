#pragma once
// The video processing amplifier of a capture filter: picture properties (brightness, contrast) that the
// camera's driver keeps, each with its range, step and default.

#include <cstdint>

#include "platform/media/results.h"

namespace kestrova::media {

enum VideoProcAmpProperty : long {
    VideoProcAmp_Brightness = 0,
    VideoProcAmp_Contrast = 1,
};

enum VideoProcAmpFlags : long {
    VideoProcAmp_Flags_Auto = 1,
    VideoProcAmp_Flags_Manual = 2,
};

// The driver has no such property.
inline constexpr HRESULT E_PROP_ID_UNSUPPORTED = int32_t(0x80070490);

class IAMVideoProcAmp {
public:
    virtual ~IAMVideoProcAmp() = default;
    virtual HRESULT GetRange(long property, long* minimum, long* maximum, long* step, long* defaultValue,
                             long* capsFlags) = 0;
    virtual HRESULT Set(long property, long value, long flags) = 0;
    virtual HRESULT Get(long property, long* value, long* flags) = 0;
};

}  // namespace kestrova::media
