#pragma once
// Brightness and contrast of a capture filter's video processing amplifier as the program's levels 0..25:
// the driver's range is shifted to start at 0 and spread over the 25 levels. Results come back as
// level x 65,536 + 1, or 0 when the value cannot be had or set.

#include <memory>

#include "platform/media/base_filter.h"

namespace kestrova {

// The property's current value, or its default with `useDefault`, as a level.
int GetProcAmpLevel(const std::shared_ptr<media::IBaseFilter>& filter, long property, int useDefault);
// Sets the property to the level (clamped to 0..25), or to its default with `useDefault`, and returns the
// level now in force, which can differ from the one asked for.
int SetProcAmpLevel(const std::shared_ptr<media::IBaseFilter>& filter, long property, int level,
                    int useDefault);

}  // namespace kestrova
