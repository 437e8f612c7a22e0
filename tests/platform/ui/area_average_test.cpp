#include "platform/ui/area_average.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova::uitest {
namespace {

using ui::AreaAverage;
using ui::AreaAverageJob;
using ui::PixelLoops;

enum class Fill { kNoise, kWhite };

// A picture stored as frames are: rows padded to 4 bytes, bottom-up unless told otherwise.
struct Picture {
    Picture(int w, int h, int bytesPerPixel, bool bottomUp, Fill fill)
        : width(w),
          height(h),
          bpp(bytesPerPixel),
          bottomUp(bottomUp),
          stride((w * bpp + 3) / 4 * 4),
          bytes(size_t(stride) * size_t(h)) {
        std::mt19937 random(uint32_t(w * 7919 + h));
        for (auto& b : bytes) b = fill == Fill::kWhite ? 255 : uint8_t(random());
    }
    // The channel bytes of the pixel `y` rows from the top.
    const uint8_t* At(int x, int y) const {
        return bytes.data() + size_t(bottomUp ? height - 1 - y : y) * size_t(stride) +
               size_t(x) * size_t(bpp);
    }
    ui::PixelRows Rows() const { return {At(0, 0), bottomUp ? -stride : stride, bpp}; }
    int width, height, bpp;
    bool bottomUp;
    ptrdiff_t stride;
    std::vector<uint8_t> bytes;
};

// The mean of channel c over the source area that destination pixel (dx, dy) covers, in doubles.
double Reference(const Picture& p, const RECT& source, int outW, int outH, int dx, int dy, int c) {
    const double x0 = source.left + double(dx) * (source.right - source.left) / outW;
    const double x1 = source.left + double(dx + 1) * (source.right - source.left) / outW;
    const double y0 = source.top + double(dy) * (source.bottom - source.top) / outH;
    const double y1 = source.top + double(dy + 1) * (source.bottom - source.top) / outH;
    double sum = 0, area = 0;
    for (int y = int(y0); y < int(std::ceil(y1)); ++y)
        for (int x = int(x0); x < int(std::ceil(x1)); ++x) {
            const double part = (std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                                (std::min(y1, y + 1.0) - std::max(y0, double(y)));
            sum += part * p.At(x, y)[c];
            area += part;
        }
    return sum / area;
}

struct Case {
    const char* name;
    int width, height, bpp;
    bool bottomUp;
    Fill fill;
    RECT source;  // left, top, right, bottom; all of the picture when empty
    SIZE out;
    RECT cells;  // the destination cells wanted; all of them when empty
};

// clang-format off
const Case kCases[] = {
    {"DisplayTile",            640, 480, 3, true,  Fill::kNoise, {}, {95, 71}, {}},
    {"OneTileDisplay",         640, 480, 3, true,  Fill::kNoise, {}, {480, 360}, {}},
    {"PopupHalves",            640, 480, 3, true,  Fill::kNoise, {}, {320, 240}, {}},
    {"OddSizes",               331, 247, 3, true,  Fill::kNoise, {}, {97, 61}, {}},
    {"OnePixel",               640, 480, 3, true,  Fill::kNoise, {}, {1, 1}, {}},
    {"OneColumnRowsKept",       97, 300, 3, true,  Fill::kNoise, {}, {1, 300}, {}},
    {"SameSize",                17,   9, 3, true,  Fill::kNoise, {}, {17, 9}, {}},
    {"UpBothWays",               3,   2, 3, true,  Fill::kNoise, {}, {7, 5}, {}},
    {"OneTileFromASmallFrame", 320, 240, 3, true,  Fill::kNoise, {}, {480, 360}, {}},
    {"DownOneWayUpTheOther",   100,   4, 3, true,  Fill::kNoise, {}, {30, 9}, {}},
    {"SingleSourcePixel",        1,   1, 3, true,  Fill::kNoise, {}, {4, 3}, {}},
    {"TopDown32Bit",           200, 150, 4, false, Fill::kNoise, {}, {64, 47}, {}},
    {"TopDown24Bit",           150, 100, 3, false, Fill::kNoise, {}, {41, 33}, {}},
    {"PartOfTheSource",        640, 480, 3, true,  Fill::kNoise, {100, 50, 400, 250}, {77, 53}, {}},
    {"SomeCellsOnly",          640, 480, 3, true,  Fill::kNoise, {}, {95, 71}, {10, 5, 60, 40}},
    {"NarrowRows",              15,  20, 3, true,  Fill::kNoise, {}, {7, 9}, {}},
    {"MostRowsSixteenBitsHold", 70, 259, 3, true,  Fill::kWhite, {}, {20, 1}, {}},
    {"OneRowMoreThanThat",      70, 260, 3, true,  Fill::kWhite, {}, {20, 1}, {}},
    {"TallNoise",               64, 1000, 4, true, Fill::kNoise, {}, {30, 3}, {}},
};
// clang-format on

class AreaAverageTest : public ::testing::TestWithParam<std::tuple<Case, PixelLoops>> {};

TEST_P(AreaAverageTest, IsTheExactAverageRounded) {
    const auto& [c, loops] = GetParam();
    if (!ui::Supported(loops)) GTEST_SKIP() << "this processor or compiler lacks the instructions";
    const Picture picture(c.width, c.height, c.bpp, c.bottomUp, c.fill);
    const RECT source = c.source.right ? c.source : RECT{0, 0, c.width, c.height};
    const RECT cells = c.cells.right ? c.cells : RECT{0, 0, c.out.cx, c.out.cy};

    AreaAverageJob job;
    job.source = picture.Rows();
    job.sourceX = source.left;
    job.sourceY = source.top;
    job.sourceWidth = source.right - source.left;
    job.sourceHeight = source.bottom - source.top;
    job.width = c.out.cx;
    job.height = c.out.cy;
    job.left = cells.left;
    job.top = cells.top;
    job.right = cells.right;
    job.bottom = cells.bottom;
    const size_t stride = size_t(cells.right - cells.left) + 3;  // a wider destination than the cells
    std::vector<uint32_t> out(stride * size_t(cells.bottom - cells.top), 0);
    AreaAverage(job, out.data(), stride, loops);
    std::vector<uint32_t> portable(out.size(), 0);  // every set of loops computes the same bits
    AreaAverage(job, portable.data(), stride, PixelLoops::kPortable);
    EXPECT_EQ(out, portable);

    double worst = 0;
    for (int y = cells.top; y < cells.bottom; ++y)
        for (int x = cells.left; x < cells.right; ++x) {
            const uint32_t got = out[size_t(y - cells.top) * stride + size_t(x - cells.left)];
            ASSERT_EQ(got >> 24, 0xFFu) << "at " << x << ", " << y;
            for (int channel = 0; channel < 3; ++channel) {
                const double level = (got >> (8 * channel)) & 0xFF;
                const double exact = Reference(picture, source, c.out.cx, c.out.cy, x, y, channel);
                worst = std::max(worst, std::abs(level - exact));
            }
        }
    // Rounded to the nearest, give or take the fixed point's few 1/128 of a level.
    EXPECT_LE(worst, 0.53);
    for (int y = 0; y < cells.bottom - cells.top; ++y)  // nothing written past the wanted cells
        EXPECT_EQ(out[size_t(y) * stride + size_t(cells.right - cells.left)], 0u);
}

std::string Name(const ::testing::TestParamInfo<std::tuple<Case, PixelLoops>>& info) {
    static const char* const kLoops[] = {"Portable", "Avx2", "Avx512"};
    return std::string(std::get<0>(info.param).name) + "_" + kLoops[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Sizes, AreaAverageTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(PixelLoops::kPortable, PixelLoops::kAvx2,
                                                              PixelLoops::kAvx512)),
                         Name);

}  // namespace
}  // namespace kestrova::uitest
