// The plans behind the area average (area_average_kernels.h says how its fixed point works), the portable
// loops, and the choice of loops.

#include "platform/ui/area_average.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/ui/area_average_kernels.h"

namespace kestrova::ui {
namespace {

using area_average::ColumnPlan;
using area_average::Kernels;
using area_average::kLevelBits;
using area_average::kLevelScale;
using area_average::kLevelsSlack;
using area_average::kMaxRowsPerSum;
using area_average::Prefetcher;
using area_average::RowPlan;

// How the cells of one destination axis cover the source: a cell takes `firstWeight` of pixel `first`,
// the destination length of each pixel after it up to `last`, and `lastWeight` of `last` (0 when `last`
// is `first`). The weights of a cell add up to the source length.
struct Span {
    int first, last;
    int firstWeight, lastWeight;
    int Inner() const { return std::max(0, last - first - 1); }
};

std::vector<Span> Spans(int source, int destination, int from, int to) {
    std::vector<Span> spans;
    spans.reserve(size_t(to - from));
    for (int d = from; d < to; ++d) {
        // In 1/destination of a source pixel, cell d covers [d * source, (d + 1) * source).
        const int64_t begin = int64_t(d) * source, end = begin + source;
        Span s;
        s.first = int(begin / destination);
        s.last = int((end - 1) / destination);
        if (s.first == s.last) {
            s.firstWeight = int(end - begin);
            s.lastWeight = 0;
        } else {
            s.firstWeight = int((int64_t(s.first) + 1) * destination - begin);
            s.lastWeight = int(end - int64_t(s.last) * destination);
        }
        spans.push_back(s);
    }
    return spans;
}

// round(x) as a 16-bit multiplier; the plans keep every share below 2^16 (a whole row's is 2^15).
uint16_t Share(double x) {
    return uint16_t(std::min(65535.0, x + 0.5));
}

// The weighing common to every row of one job: the rows between the edges go in batches that fit 16-bit
// lanes, each batch's sum shifted up as far as it fits.
struct InnerWeighing {
    int batch = kMaxRowsPerSum, shift = 0;
    uint16_t share = 0;
    double edgeShare = 0;  // an edge row's share per unit of its weight
};

InnerWeighing Inner(const std::vector<Span>& rows, int sourceHeight, int height) {
    int most = 0;
    for (const Span& r : rows) most = std::max(most, r.Inner());
    InnerWeighing w;
    // (byte << 8) * share / 2^16 = byte * weight * kLevelScale / sourceHeight.
    w.edgeShare = double(1 << (kLevelBits + 8)) / sourceHeight;
    if (most == 0) return w;
    w.batch = std::min(most, kMaxRowsPerSum);
    while ((255 * w.batch << (w.shift + 1)) <= 65535) ++w.shift;
    // (sum << shift) * share / 2^16 = sum * height * kLevelScale / sourceHeight.
    w.share = Share(double(height) * double(1 << (16 + kLevelBits - w.shift)) / sourceHeight);
    return w;
}

// A destination row's source rows and the shares of its two edge rows, the same for every call of a size.
struct RowWeighing {
    Span span;
    uint16_t firstShare = 0, lastShare = 0;
};

std::vector<RowWeighing> WeighRows(const std::vector<Span>& rows, const InnerWeighing& inner) {
    std::vector<RowWeighing> weighed;
    weighed.reserve(rows.size());
    for (const Span& r : rows)
        weighed.push_back({r, Share(r.firstWeight * inner.edgeShare), Share(r.lastWeight * inner.edgeShare)});
    return weighed;
}

// The plan of the destination row `w` weighs, its rows in the order they lie in memory from `corner` (the
// source rectangle's top left).
RowPlan PlanRow(const uint8_t* corner, ptrdiff_t stride, const RowWeighing& w, const InnerWeighing& inner) {
    const Span& r = w.span;
    RowPlan p;
    p.count = r.last - r.first + 1;
    const bool fromLast = stride < 0 && p.count > 1;  // bottom-up: from the last row
    p.first = corner + stride * (fromLast ? r.last : r.first);
    p.stride = fromLast ? -stride : stride;
    p.firstShare = fromLast ? w.lastShare : w.firstShare;
    p.lastShare = fromLast ? w.firstShare : w.lastShare;
    p.innerShare = inner.share;
    p.innerShift = inner.shift;
    p.innerBatch = inner.batch;
    return p;
}

ColumnPlan PlanColumns(const std::vector<Span>& columns, int firstColumn, int bytesPerPixel, int width,
                       int sourceWidth) {
    ColumnPlan plan;
    plan.columns = int(columns.size());
    plan.bytesPerPixel = bytesPerPixel;
    plan.perUnit = float(1.0 / (double(sourceWidth) * kLevelScale));
    int most = 1;
    for (const Span& c : columns) most = std::max(most, c.last - c.first + 1);
    plan.groups = (most + 7) / 8;
    const size_t padded = (columns.size() + 3) / 4 * 4;
    plan.start.assign(padded, 0);
    plan.weights.assign(padded * size_t(plan.groups) * 32, 0);
    for (size_t j = 0; j < columns.size(); ++j) {
        const Span& c = columns[j];
        plan.start[j] = size_t(c.first - firstColumn) * size_t(bytesPerPixel);
        int16_t* group = &plan.weights[j * size_t(plan.groups) * 32];
        for (int i = c.first; i <= c.last; ++i) {
            const int weight = i == c.first ? c.firstWeight : i == c.last ? c.lastWeight : width;
            const int t = i - c.first;
            int16_t* pair = group + (t / 8) * 32 + (t % 8) / 2 * 8 + t % 2;
            pair[0] = pair[2] = pair[4] = int16_t(weight);
        }
    }
    return plan;
}

uint16_t Weigh(unsigned value, unsigned shift, uint16_t share) {
    return uint16_t((uint32_t(value << shift) * share) >> 16);
}

void LevelsPortable(const RowPlan& row, size_t n, int16_t* levels) {
    std::vector<uint16_t> sum(n);
    for (size_t i = 0; i < n; ++i) levels[i] = int16_t(Weigh(row.first[i], 8, row.firstShare));
    if (row.count > 1) {
        const uint8_t* last = row.Row(row.count - 1);
        for (size_t i = 0; i < n; ++i) levels[i] = int16_t(levels[i] + Weigh(last[i], 8, row.lastShare));
    }
    for (int from = 1; from < row.count - 1; from += row.innerBatch) {
        std::fill(sum.begin(), sum.end(), uint16_t(0));
        for (int y = from; y < std::min(from + row.innerBatch, row.count - 1); ++y) {
            const uint8_t* bytes = row.Row(y);
            for (size_t i = 0; i < n; ++i) sum[i] = uint16_t(sum[i] + bytes[i]);
        }
        for (size_t i = 0; i < n; ++i)
            levels[i] = int16_t(levels[i] + Weigh(sum[i], unsigned(row.innerShift), row.innerShare));
    }
}

void PixelsPortable(const int16_t* levels, const ColumnPlan& columns, Prefetcher ahead, uint32_t* line) {
    const int b = columns.bytesPerPixel;
    const size_t perColumn = ahead.PerCall(size_t(columns.columns));
    for (size_t c = 0; c < size_t(columns.columns); ++c) {
        ahead.Lines(perColumn);
        int32_t sum[3] = {};
        const int16_t* at = levels + columns.start[c];
        for (int t = 0; t < columns.groups * 8; ++t)
            for (int channel = 0; channel < 3; ++channel)
                sum[channel] += columns.Weight(c, t) * at[t * b + channel];
        uint32_t pixel = 0xFF000000u;
        for (int channel = 0; channel < 3; ++channel) {
            // Fused, as the vector loops do it, for the same bits.
            const int level = int(std::fma(float(sum[channel]), columns.perUnit, 0.5f));
            pixel |= uint32_t(std::clamp(level, 0, 255)) << (8 * channel);
        }
        line[c] = pixel;
    }
}

// One row of levels, kept between calls, each thread its own, since every call overwrites the first n
// before reading them; the slack stays 0.
int16_t* RowOfLevels(size_t n) {
    thread_local std::vector<int16_t> levels;
    levels.resize(std::max(levels.size(), n + kLevelsSlack));
    std::fill(levels.begin() + ptrdiff_t(n), levels.end(), int16_t(0));
    return levels.data();
}

// Everything about a job that depends only on its sizes: the display draws every tile of one size from
// every frame, so the plans are made once and kept, a few sizes per thread.
struct Plans {
    int sourceWidth = 0, sourceHeight = 0, width = 0, height = 0;
    int left = 0, top = 0, right = 0, bottom = 0, bytesPerPixel = 0;
    std::vector<RowWeighing> rows;
    ColumnPlan columns;
    InnerWeighing inner;
    int firstColumn = 0;  // the first source column the cells cover
    size_t n = 0;         // the bytes of a source row they cover

    bool Fit(const AreaAverageJob& job) const {
        return sourceWidth == job.sourceWidth && sourceHeight == job.sourceHeight && width == job.width &&
               height == job.height && left == job.left && top == job.top && right == job.right &&
               bottom == job.bottom && bytesPerPixel == job.source.bytesPerPixel;
    }
};

Plans MakePlans(const AreaAverageJob& job) {
    Plans p;
    p.sourceWidth = job.sourceWidth;
    p.sourceHeight = job.sourceHeight;
    p.width = job.width;
    p.height = job.height;
    p.left = job.left;
    p.top = job.top;
    p.right = job.right;
    p.bottom = job.bottom;
    p.bytesPerPixel = job.source.bytesPerPixel;
    const std::vector<Span> columns = Spans(job.sourceWidth, job.width, job.left, job.right);
    const std::vector<Span> rows = Spans(job.sourceHeight, job.height, job.top, job.bottom);
    p.firstColumn = columns.front().first;
    p.n = size_t(columns.back().last - p.firstColumn + 1) * size_t(p.bytesPerPixel);
    p.columns = PlanColumns(columns, p.firstColumn, p.bytesPerPixel, job.width, job.sourceWidth);
    p.inner = Inner(rows, job.sourceHeight, job.height);
    p.rows = WeighRows(rows, p.inner);
    return p;
}

// The plans for the job, valid until this thread's next call.
const Plans& PlansFor(const AreaAverageJob& job) {
    constexpr size_t kKept = 8;
    thread_local std::vector<Plans> kept;
    thread_local size_t nextOut = 0;
    for (const Plans& p : kept)
        if (p.Fit(job)) return p;
    if (kept.size() < kKept) return kept.emplace_back(MakePlans(job));
    Plans& replaced = kept[nextOut];
    nextOut = (nextOut + 1) % kKept;
    return replaced = MakePlans(job);
}

// The rows of `next` that `row`, just read, did not read: all of them but the first when the two share it
// (an edge row that both destination rows cover a part of), which is then still in the cache.
RowPlan Unread(RowPlan next, const RowPlan& row) {
    if (next.count > 0 && row.count > 0 && next.first == row.Row(row.count - 1)) {
        next.first += next.stride;
        --next.count;
    }
    return next;
}

Kernels KernelsFor(PixelLoops loops) {
#if defined(KESTROVA_AREA_AVERAGE_X86)
    if (loops == PixelLoops::kAvx2) return area_average::Avx2Kernels();
    if (loops == PixelLoops::kAvx512) return area_average::Avx512Kernels();
#endif
    return area_average::PortableKernels();
}

}  // namespace

namespace area_average {
Kernels PortableKernels() {
    return {LevelsPortable, PixelsPortable};
}
}  // namespace area_average

bool Supported(PixelLoops loops) {
#if defined(KESTROVA_AREA_AVERAGE_X86)
    static const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    static const bool avx512 =
        avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    if (loops == PixelLoops::kAvx2) return avx2;
    if (loops == PixelLoops::kAvx512) return avx512;
#endif
    return loops == PixelLoops::kPortable;
}

void AreaAverage(const AreaAverageJob& job, uint32_t* out, size_t outStride) {
    static const PixelLoops fastest = Supported(PixelLoops::kAvx512) ? PixelLoops::kAvx512
                                      : Supported(PixelLoops::kAvx2) ? PixelLoops::kAvx2
                                                                     : PixelLoops::kPortable;
    AreaAverage(job, out, outStride, fastest);
}

void AreaAverage(const AreaAverageJob& job, uint32_t* out, size_t outStride, PixelLoops which) {
    const Kernels kernels = KernelsFor(which);
    const Plans& plans = PlansFor(job);
    const std::vector<RowWeighing>& rows = plans.rows;
    const size_t n = plans.n;
    const ptrdiff_t stride = job.source.stride;
    const uint8_t* corner = job.source.top + stride * job.sourceY +
                            ptrdiff_t(job.sourceX + plans.firstColumn) * job.source.bytesPerPixel;
    int16_t* const levels = RowOfLevels(n);

    // Destination rows go in the order their source lies in memory (bottom-up pictures from the bottom),
    // so the source is read in one ascending sweep, the next row's rows asked for while this one is made.
    const bool upward = stride < 0;
    auto plan = [&](size_t k) {
        return PlanRow(corner, stride, rows[upward ? rows.size() - 1 - k : k], plans.inner);
    };
    RowPlan next = plan(0);
    for (size_t k = 0; k < rows.size(); ++k) {
        const RowPlan row = next;
        next = k + 1 < rows.size() ? plan(k + 1) : RowPlan{};
        kernels.levels(row, n, levels);
        Prefetcher ahead(Unread(next, row), n);
        const size_t index = upward ? rows.size() - 1 - k : k;
        kernels.pixels(levels, plans.columns, ahead, out + index * outStride);
    }
}

}  // namespace kestrova::ui
