#include "engine/mic/sound_level.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova {
namespace {

TEST(SoundLevel, FollowsTheSensitivitysThresholdAndGain) {
    struct Case {
        int sensitivity;
        int peak;
        int level;
    };
    // At each sensitivity: the last peak below level 1 and the first at it, the first at level 10 and the one
    // below, or the loudest possible peak where level 10 is out of reach.
    const Case cases[] = {
        {0, 10857, 0},
        {0, 10858, 1},
        {0, 32767, 8},
        {1, 8549, 0},
        {1, 8550, 1},
        {1, 32767, 9},
        {2, 6599, 0},
        {2, 6600, 1},
        {2, 32767, 9},
        {3, 4288, 0},
        {3, 4289, 1},
        {3, 30288, 9},
        {3, 30289, 10},
        {4, 2311, 0},
        {4, 2312, 1},
        {4, 30311, 9},
        {4, 30312, 10},
        {5, 999, 0},
        {5, 1000, 1},
        {5, 3900, 2},
        {5, 27099, 9},
        {5, 27100, 10},
        {5, 32767, 10},
        {6, 799, 0},
        {6, 800, 1},
        {6, 22213, 9},
        {6, 22214, 10},
        {7, 599, 0},
        {7, 600, 1},
        {7, 18660, 9},
        {7, 18661, 10},
        {8, 399, 0},
        {8, 400, 1},
        {8, 15939, 9},
        {8, 15940, 10},
        {9, 199, 0},
        {9, 200, 1},
        {9, 13775, 9},
        {9, 13776, 10},
        {10, 99, 0},
        {10, 100, 2},
        {10, 12059, 9},
        {10, 12060, 10},
        {10, 32767, 10},
        // Out-of-range sensitivities are taken as the nearest end.
        {-3, 10858, 1},
        {14, 100, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SoundLevelOf(c.peak, c.sensitivity), c.level) << c.sensitivity << " " << c.peak;
    }
}

std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples) {
    const auto* first = reinterpret_cast<const uint8_t*>(samples.data());
    return std::vector<uint8_t>(first, first + samples.size() * 2);
}

TEST(SoundLevel, PeakReadsEveryTenthSampleAndIgnoresNegativeOnes) {
    std::vector<int16_t> samples(25, 0);
    samples[5] = 30000;
    samples[19] = 30000;
    samples[21] = 30000;
    samples[10] = -32768;
    samples[20] = 700;
    EXPECT_EQ(PeakOfBuffer(Bytes(samples).data(), 50), 700);
    samples[20] = -5;
    EXPECT_EQ(PeakOfBuffer(Bytes(samples).data(), 50), 0) << "negative samples never raise the peak";

    // A last odd byte is no sample: 41 bytes hold samples 0 to 19, so sample 20 is not read.
    samples[20] = 1234;
    EXPECT_EQ(PeakOfBuffer(Bytes(samples).data(), 41), 0);
    EXPECT_EQ(PeakOfBuffer(Bytes(samples).data(), 42), 1234);
    EXPECT_EQ(PeakOfBuffer(nullptr, 0), 0);
}

}  // namespace
}  // namespace kestrova
