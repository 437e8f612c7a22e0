#include "engine/usbcam/proc_amp_levels.h"

#include <algorithm>
#include <cstdint>

#include "platform/media/video_proc_amp.h"

namespace kestrova {
namespace {

using namespace media;

constexpr int64_t kTopLevel = 25;

struct Range {
    long minimum = 0;
    int64_t span = 0;
    int64_t defaultOffset = 0;
};

bool ReadRange(IAMVideoProcAmp& amp, long property, Range* range) {
    long minimum, maximum, step, defaultValue, flags;
    if (FAILED(amp.GetRange(property, &minimum, &maximum, &step, &defaultValue, &flags))) return false;
    range->minimum = minimum;
    range->span = int64_t(maximum) - minimum;
    range->defaultOffset = int64_t(defaultValue) - minimum;
    return true;
}

// Whole-number arithmetic gives the exact quotients; in floating point a value at the top of some ranges
// (a span of 97, say) came out as level 24.
int LevelOf(const Range& range, int64_t offset) {
    if (range.span <= 0) return 0;  // a range without width has only level 0
    return int(std::clamp<int64_t>(offset * kTopLevel / range.span, 0, kTopLevel));
}

int64_t OffsetOf(const Range& range, int level) {
    if (range.span <= 0) return 0;
    return (level * range.span + kTopLevel - 1) / kTopLevel;  // rounded up
}

int Result(int level) {
    return level * 65536 + 1;
}

}  // namespace

int GetProcAmpLevel(const std::shared_ptr<IBaseFilter>& filter, long property, int useDefault) {
    auto amp = QueryInterface<IAMVideoProcAmp>(filter);
    Range range;
    if (!amp || !ReadRange(*amp, property, &range)) return 0;
    int64_t offset = range.defaultOffset;
    if (useDefault == 0) {
        long value, flags;
        if (FAILED(amp->Get(property, &value, &flags))) return 0;
        offset = int64_t(value) - range.minimum;
    }
    return Result(LevelOf(range, offset));
}

int SetProcAmpLevel(const std::shared_ptr<IBaseFilter>& filter, long property, int level, int useDefault) {
    auto amp = QueryInterface<IAMVideoProcAmp>(filter);
    Range range;
    if (!amp || !ReadRange(*amp, property, &range)) return 0;
    level = std::clamp(level, 0, int(kTopLevel));
    const int64_t offset = useDefault != 0 ? range.defaultOffset : OffsetOf(range, level);
    if (FAILED(amp->Set(property, long(offset + range.minimum), VideoProcAmp_Flags_Manual))) return 0;
    return Result(LevelOf(range, offset));
}

}  // namespace kestrova
