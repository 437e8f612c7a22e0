// The arithmetic of motion detection on whole frames: sampling, smoothing, the change rule and the level.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "engine/motion_detection.h"

namespace kestrova {
namespace {

using Pixel = std::function<uint8_t(int x, int y, int channel)>;

std::vector<uint8_t> MakeFrame(int width, int height, const Pixel& pixel) {
    std::vector<uint8_t> frame(size_t(width) * height * 3);
    uint8_t* p = frame.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) *p++ = pixel(x, y, c);
        }
    }
    return frame;
}

Pixel Uniform(uint8_t blue, uint8_t green, uint8_t red) {
    return [=](int, int, int c) { return c == 0 ? blue : c == 1 ? green : red; };
}

MotionSample Sample(const std::vector<uint8_t>& frame) {
    MotionSample sample{};
    EXPECT_TRUE(TakeMotionSample(frame.data(), frame.size(), sample));
    return sample;
}

TEST(MotionSampleTest, SmoothingKeepsAMiddleValueAndTruncatesTheTop) {
    for (int width : {320, 640}) {
        const MotionSample grey = Sample(MakeFrame(width, width * 3 / 4, Uniform(100, 100, 100)));
        const MotionSample white = Sample(MakeFrame(width, width * 3 / 4, Uniform(255, 255, 255)));
        for (size_t i = 0; i < grey.size(); ++i) {
            ASSERT_EQ(grey[i], 100) << width << " byte " << i;
            ASSERT_EQ(white[i], 253) << width << " byte " << i;
        }
    }
}

// The smoothing as the formula states it: double-precision weights, each sum truncated before the next is
// added, and 255 for anything above.
uint8_t SmoothedByFormula(const uint8_t* p, ptrdiff_t step, ptrdiff_t row) {
    int a = 0;
    a = int(a + 0.1 * p[-2 * step]);
    a = int(a + 0.2 * p[-step]);
    a = int(a + 0.4 * p[0]);
    a = int(a + 0.2 * p[step]);
    a = int(a + 0.1 * p[2 * step]);
    int v = int(0.4 * a);
    v = int(v + 0.1 * p[-2 * row]);
    v = int(v + 0.2 * p[-row]);
    v = int(v + 0.2 * p[row]);
    v = int(v + 0.1 * p[2 * row]);
    return uint8_t(v > 255 ? 255 : v);
}

TEST(MotionSampleTest, TruncatedDoubleSumsAreWholeNumberSums) {
    // What the sampler's integer smoothing rests on, over every value a running sum and a byte can take.
    for (double w : {0.1, 0.2, 0.4}) {
        for (int p = 0; p < 256; ++p) {
            ASSERT_EQ(int(w * p), w == 0.1 ? p / 10 : w == 0.2 ? p / 5 : 2 * p / 5) << w << " " << p;
            for (int a = 0; a < 1024; ++a)
                ASSERT_EQ(int(a + w * p), a + int(w * p)) << w << " " << p << " " << a;
        }
    }
}

TEST(MotionSampleTest, SamplesEqualTheFormulaOnRandomFrames) {
    std::mt19937 random(7);
    for (auto [width, height] : {std::pair{320, 240}, {640, 480}}) {
        for (int round = 0; round < 20; ++round) {
            const auto frame = MakeFrame(width, height, [&](int, int, int) { return uint8_t(random()); });
            const MotionSample sample = Sample(frame);
            const int rowStep = height / kMaskSide, columnStep = width / kMaskSide;
            const ptrdiff_t stride = ptrdiff_t(width) * 3;
            for (int r = 0; r < kMaskSide; ++r) {
                for (int k = 0; k < kMaskSide; ++k) {
                    const uint8_t* pixel = frame.data() + (rowStep / 2 + r * rowStep) * stride +
                                           (columnStep / 2 + k * columnStep) * 3;
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_EQ(sample[(r * kMaskSide + k) * 3 + c],
                                  SmoothedByFormula(pixel + c, 3, stride))
                            << width << " r " << r << " k " << k;
                    }
                }
            }
        }
    }
}

TEST(MotionSampleTest, OnlyTheTwoCameraSizesAreSampled) {
    MotionSample sample{};
    for (auto [width, height] : {std::pair{480, 360}, {320, 200}, {640, 479}}) {
        const auto frame = MakeFrame(width, height, Uniform(1, 2, 3));
        EXPECT_FALSE(TakeMotionSample(frame.data(), frame.size(), sample)) << width << " x " << height;
    }
}

TEST(MotionSampleTest, SamplesLieOnTheGridWithRowZeroAtTheBottom) {
    // Only the sample point of row r = 1, column k = 2 of a 320 x 240 frame (x = 20, y = 9) is bright; its
    // smoothing reaches no other sample.
    const auto frame =
        MakeFrame(320, 240, [](int x, int y, int) -> uint8_t { return x == 20 && y == 9 ? 200 : 0; });
    const MotionSample sample = Sample(frame);
    for (int i = 0; i < kMaskCells; ++i) {
        // 200 x 0.4 = 80 after the horizontal pass, 32 after the vertical one.
        ASSERT_EQ(sample[i * 3], i == 1 * kMaskSide + 2 ? 32 : 0) << i;
    }
}

struct LevelCase {
    const char* name;
    Pixel before, after;
    int sensitivity;
    bool maskLowerHalf;
    int level;
};

// A grey frame changed by (b, g, r) in the frame rows where `where(y)` holds (everywhere without it).
Pixel Changed(int b, int g, int r, const std::function<bool(int y)>& where = {}) {
    return [=](int, int y, int c) -> uint8_t {
        const int delta = c == 0 ? b : c == 1 ? g : r;
        return uint8_t(100 + (where && !where(y) ? 0 : delta));
    };
}

const Pixel kGrey = Uniform(100, 100, 100);
// Sample row r lies at y = 3 + 6r: the first 20 sample rows, the picture's lower half and half of all
// samples, are y < 120.
bool LowerHalf(int y) {
    return y < 120;
}

class MotionLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(MotionLevelTest, LevelOfTwoFrames) {
    const LevelCase& c = GetParam();
    MaskGrid ignore{};
    if (c.maskLowerHalf) {
        for (int row = 20; row < kMaskSide; ++row) {
            for (int column = 0; column < kMaskSide; ++column) ignore[MaskCell(row, column)] = 1;
        }
    }
    const MotionSample before = Sample(MakeFrame(320, 240, c.before));
    const MotionSample after = Sample(MakeFrame(320, 240, c.after));
    EXPECT_EQ(MotionLevel(CompareMotionSamples(after, before, ignore), c.sensitivity), c.level);
}

Pixel NinePercent() {
    // 3 whole sample rows (120 samples) and 24 samples of the fourth: 144 of 1,600.
    return [](int x, int y, int) -> uint8_t {
        const bool changed = y < 18 || (y < 24 && x < 24 * 8);
        return uint8_t(changed ? 130 : 100);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MotionLevelTest,
    ::testing::Values(
        LevelCase{"IdenticalFrames", kGrey, kGrey, 10, false, 0},
        LevelCase{"AllChangedSensitivity0", kGrey, Changed(20, 20, 20), 0, false, 10},
        LevelCase{"AllChangedSensitivity5", kGrey, Changed(20, 20, 20), 5, false, 10},
        LevelCase{"AllChangedSensitivity10", kGrey, Changed(20, 20, 20), 10, false, 10},
        LevelCase{"OneChannelBelowThreshold", kGrey, Changed(20, 20, 10), 10, false, 0},
        LevelCase{"DarkerCountsToo", Changed(20, 20, 20), kGrey, 0, false, 10},
        LevelCase{"HalfChangedSensitivity0", kGrey, Changed(30, 30, 30, LowerHalf), 0, false, 5},
        LevelCase{"NinePercentSensitivity0", kGrey, NinePercent(), 0, false, 0},
        LevelCase{"NinePercentSensitivity1", kGrey, NinePercent(), 1, false, 9},
        LevelCase{"MaskedLowerHalfCountsForNothing", kGrey, Changed(30, 30, 30, LowerHalf), 10, true, 0},
        LevelCase{"MaskedLowerHalfLeavesTheUpperHalf", kGrey,
                  Changed(30, 30, 30, [](int y) { return !LowerHalf(y); }), 0, true, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MotionLevelTest, AllCellsMaskedGiveZero) {
    MaskGrid all;
    all.fill(1);
    const MotionSample before = Sample(MakeFrame(320, 240, kGrey));
    const MotionSample after = Sample(MakeFrame(320, 240, Changed(50, 50, 50)));
    const MotionCount count = CompareMotionSamples(after, before, all);
    EXPECT_EQ(count.changed + count.unchanged, 0);
    EXPECT_EQ(MotionLevel(count, 10), 0);
}

}  // namespace
}  // namespace kestrova
