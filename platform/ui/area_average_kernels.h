#pragma once
// The inner loops of the area average (area_average.h), one set per instruction set, and the plans they
// follow. Internal to area_average*.cpp.
//
// Fixed point, so every set computes the same bits. A destination row first becomes a row of levels: per
// source byte, the weighted mean of the source rows the destination row covers, times kLevelScale, in 16
// bits. The rows wholly inside are added as bytes in 16-bit lanes, then the sum and the two edge rows are
// each multiplied by their share of the row's weight (the high half of a 16 x 16-bit product). Then each
// destination pixel takes the sum of those levels over the source pixels its column covers, at whole-number
// weights, in 32 bits, and divides it by the column's weight and the scale. Each truncation costs at most a
// few 1/kLevelScale of a level, so the result is the exact average rounded to the nearest, give or take 1/32.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrova::ui::area_average {

// Levels carry 7 bits below the unit, so that 255 of them still fit a signed 16-bit lane.
constexpr int kLevelBits = 7;
constexpr int kLevelScale = 1 << kLevelBits;

// Rows added in 16-bit lanes before the sum is weighed, so that no lane overflows.
constexpr int kMaxRowsPerSum = 65535 / 255;

// How the source rows of one destination row are weighed: `count` rows `stride` bytes apart from `first`,
// in the order they lie in memory. The first row at `firstShare`, the last at `lastShare` (when count > 1),
// the rows between added `innerBatch` at a time and each batch's sum, shifted up by `innerShift`, at
// `innerShare`. A share is the high half of its product with the shifted bytes.
struct RowPlan {
    const uint8_t* first = nullptr;
    ptrdiff_t stride = 0;
    int count = 0;
    uint16_t firstShare = 0, lastShare = 0, innerShare = 0;
    int innerShift = 0, innerBatch = kMaxRowsPerSum;
    const uint8_t* Row(int y) const { return first + stride * y; }
};

// Per destination column: the first level it reads (`bytesPerPixel` levels a pixel) and its weights, in
// groups of eight source pixels laid out as the x86 loops pair them: for each pair of pixels (a, b) of a
// group, the words wa, wb, wa, wb, wa, wb, 0, 0 (32 words a group, every column `groups` of them, the
// groups past a column's last pixel all 0). Columns are padded with empty ones to a multiple of four.
struct ColumnPlan {
    int columns = 0;  // the real ones
    int groups = 0;
    int bytesPerPixel = 3;
    float perUnit = 0;  // 1 / (the columns' total weight x kLevelScale)
    std::vector<size_t> start;
    std::vector<int16_t> weights;
    const int16_t* Weights(size_t column) const { return &weights[column * size_t(groups) * 32]; }
    // The weight of pixel `t` after the column's first.
    int16_t Weight(size_t column, int t) const {
        return Weights(column)[(t / 8) * 32 + (t % 8) / 2 * 8 + t % 2];
    }
};

// Asks for the next destination row's source, in memory order, a share at a time while this row's columns
// are weighed (work that reads no source), so that the row loop then finds it in the nearest cache instead of
// waiting for memory. Rows that follow one another in memory (a whole-width source) are one range; each
// range is asked for four lines a step.
class Prefetcher {
public:
    Prefetcher() = default;
    Prefetcher(const RowPlan& rows, size_t n) {
        if (rows.count <= 0) return;
        const bool adjacent = rows.count == 1 || size_t(rows.stride) <= n + kLine;
        ranges_ = adjacent ? 1 : rows.count;
        // A row need not start a line, so its range reaches one line past its end.
        bytes_ = (adjacent ? size_t(rows.stride) * size_t(rows.count - 1) + n : n) + kLine;
        stride_ = rows.stride;
        start_ = at_ = rows.first;
    }
    // Each of `calls` calls of Lines asks for this many, to ask for all lines.
    size_t PerCall(size_t calls) const {
        const size_t lines = ranges_ * ((bytes_ + kLine - 1) / kLine);
        return (lines + calls - 1) / calls;
    }

    // Asks for the next `count` lines, rounded up to a step.
    void Lines(size_t count) {
        size_t wanted = count * kLine;
        while (wanted > 0 && ranges_ > 0) {
            const uint8_t* end = start_ + bytes_;
            const size_t here = std::min(wanted, size_t(end - at_));
            for (const uint8_t* stop = at_ + here; at_ < stop; at_ += 4 * kLine) {
                __builtin_prefetch(at_);
                __builtin_prefetch(at_ + kLine);
                __builtin_prefetch(at_ + 2 * kLine);
                __builtin_prefetch(at_ + 3 * kLine);
            }
            wanted -= here;
            if (at_ >= end && --ranges_ > 0) at_ = start_ += stride_;
        }
    }

private:
    static constexpr size_t kLine = 64;
    const uint8_t* start_ = nullptr;  // the current range's first byte
    const uint8_t* at_ = nullptr;     // the next byte to ask for
    ptrdiff_t stride_ = 0;
    size_t ranges_ = 0, bytes_ = 0;
};

// Words past the last level that the column loops may read (at weight 0).
constexpr size_t kLevelsSlack = 64;

struct Kernels {
    // The n levels of one destination row.
    void (*levels)(const RowPlan& row, size_t n, int16_t* levels);
    // One destination row of 0xFFRRGGBB pixels from its levels, asking `ahead` for the next row's source.
    void (*pixels)(const int16_t* levels, const ColumnPlan& columns, Prefetcher ahead, uint32_t* line);
};

// The wide loops share one loop template that GCC inlines into each instruction set's functions; clang
// will not pass vectors through a template that does not carry their instruction set, so its builds (the
// fuzz targets) take the portable loops.
#if defined(__x86_64__) && !defined(__clang__)
#define KESTROVA_AREA_AVERAGE_X86 1
#endif

Kernels PortableKernels();
#if defined(KESTROVA_AREA_AVERAGE_X86)
Kernels Avx2Kernels();
Kernels Avx512Kernels();
#endif

}  // namespace kestrova::ui::area_average
