#include "engine/mic/sound_level.h"

#include <algorithm>
#include <cstring>

namespace kestrova {
namespace {

constexpr int kFullScale = 30000;
constexpr int kSampleStride = 10;

struct Curve {
    int threshold;
    double gain;
};

// By Sensitivity 0..10: a more sensitive microphone lets quieter sounds through and amplifies them more.
constexpr Curve kCurves[] = {{10000, 0.7}, {8000, 0.8}, {6000, 0.8}, {4000, 0.9}, {2000, 0.9}, {1000, 1.0},
                             {800, 1.2},   {600, 1.4},  {400, 1.6},  {200, 1.8},  {100, 2.0}};

}  // namespace

int PeakOfBuffer(const uint8_t* buffer, long length) {
    if (buffer == nullptr || length <= 0) return 0;
    const long count = length / 2;
    int peak = 0;
    for (long i = 0; i < count; i += kSampleStride) {
        int16_t sample;
        std::memcpy(&sample, buffer + i * 2, sizeof sample);  // the buffer need not be aligned
        peak = std::max<int>(peak, sample);
    }
    return peak;
}

int SoundLevelOf(int peak, int sensitivity) {
    const Curve& curve = kCurves[std::clamp(sensitivity, 0, kTopSoundLevel)];
    const int range = kFullScale - curve.threshold;
    if (peak < curve.threshold) peak = 0;
    // Anything past the threshold starts a tenth of the way up the scale.
    if (peak != 0) peak = peak - curve.threshold + range / 10;
    const int scaled = int(double(peak) * curve.gain);
    return std::clamp(scaled * 100 / range / 10, 0, kTopSoundLevel);
}

}  // namespace kestrova
