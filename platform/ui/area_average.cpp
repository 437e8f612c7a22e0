// Separable. Each destination row first sums, byte by byte across the row, the source rows it covers: the
// rows wholly inside it at one weight, added as integers, and the two edge rows at their own weights (the
// source read once, in long runs). Then each destination pixel takes the weighted sum of that row of sums
// over the columns it covers. Weights are whole numbers of 1/destination of a source pixel, so the row
// sums are exact in floats; the columns' weights also divide by the area. Destination rows go four at a
// time through the second step, which then loads each column's weights once for four pixels.

#include "platform/ui/area_average.h"

#include <algorithm>
#include <array>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kestrova::ui {
namespace {

// How the cells of one destination axis cover the source: a cell takes `firstWeight` of pixel `first`,
// the destination length of each pixel after it up to `last`, and `lastWeight` of `last` (0 when `last`
// is `first`). The weights of a cell add up to the source length.
struct Span {
    int first, last;
    float firstWeight, lastWeight;
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
            s.firstWeight = float(end - begin);
            s.lastWeight = 0;
        } else {
            s.firstWeight = float((int64_t(s.first) + 1) * destination - begin);
            s.lastWeight = float(end - int64_t(s.last) * destination);
        }
        spans.push_back(s);
    }
    return spans;
}

// The source rows of one destination row in the order they lie in memory: `count` rows `stride` bytes
// apart from `first`, the first and the last at their own weights, those between at `inner`.
struct RowSpan {
    const uint8_t* first;
    ptrdiff_t stride;
    int count;
    float firstWeight, inner, lastWeight;
    const uint8_t* Row(int y) const { return first + stride * y; }
};

// The source rows of the destination row that `r` spans, in the order they lie in memory from `corner`
// (the source rectangle's top left), `inner` the weight of the rows between the first and the last.
RowSpan InMemoryOrder(const uint8_t* corner, ptrdiff_t stride, const Span& r, float inner) {
    const int count = r.last - r.first + 1;
    if (stride < 0 && count > 1)  // bottom-up: from the last row
        return {corner + stride * r.last, -stride, count, r.lastWeight, inner, r.firstWeight};
    return {corner + stride * r.first, stride, count, r.firstWeight, inner, r.lastWeight};
}

// Per destination column: where its source pixels start in a row of sums, and its weights two pixels at a
// time, as eight weights for the eight sums from a pair's first value on: the first pixel's weight on its
// three colours, the second's on the same three of its own, 0 elsewhere. Every column has `pairs` groups
// (enough for the widest; narrower columns end in weights of 0). The weights also divide by the area, so
// the weighted sum of the row sums is the average itself.
struct ColumnTaps {
    size_t pairs = 0;
    std::vector<size_t> start;
    std::vector<float> weights;
};

ColumnTaps Taps(const std::vector<Span>& columns, int firstColumn, int bytesPerPixel, float destinationWidth,
                float perArea) {
    ColumnTaps t;
    for (const Span& c : columns) t.pairs = std::max(t.pairs, size_t(c.last - c.first + 2) / 2);
    t.weights.assign(columns.size() * t.pairs * 8, 0.0f);
    for (size_t j = 0; j < columns.size(); ++j) {
        const Span& c = columns[j];
        t.start.push_back(size_t(c.first - firstColumn) * size_t(bytesPerPixel));
        float* group = &t.weights[j * t.pairs * 8];
        for (int i = c.first; i <= c.last; ++i) {
            const float weight = i == c.first ? c.firstWeight : i == c.last ? c.lastWeight : destinationWidth;
            const int k = i - c.first;
            float* w = group + (k / 2) * 8 + (k % 2) * bytesPerPixel;
            w[0] = w[1] = w[2] = weight * perArea;
        }
    }
    return t;
}

// Four destination rows at a time: their rows of sums and where their pixels go (a block short of four
// rows repeats its last one).
constexpr int kBlock = 4;
using SumsBlock = std::array<const float*, kBlock>;
using LinesBlock = std::array<uint32_t*, kBlock>;

// The row sums of n bytes from each row's start.
void SumRowsPortable(const RowSpan& s, size_t n, float* sums) {
    for (size_t i = 0; i < n; ++i) sums[i] = float(s.first[i]) * s.firstWeight;
    for (int y = 1; y < s.count; ++y) {
        const uint8_t* row = s.Row(y);
        const float weight = y < s.count - 1 ? s.inner : s.lastWeight;
        for (size_t i = 0; i < n; ++i) sums[i] += float(row[i]) * weight;
    }
}

void AverageColumnsPortable(const SumsBlock& sums, const ColumnTaps& taps, int bytesPerPixel,
                            const LinesBlock& lines) {
    const size_t step = 2 * size_t(bytesPerPixel);
    const int b = bytesPerPixel;
    auto level = [](float v) { return uint32_t(std::clamp(int(v + 0.5f), 0, 255)); };
    for (int r = 0; r < kBlock; ++r) {
        for (size_t c = 0; c < taps.start.size(); ++c) {
            const float* p = sums[size_t(r)] + taps.start[c];
            const float* w = &taps.weights[c * taps.pairs * 8];
            float lane[8] = {};
            for (size_t q = 0; q < taps.pairs; ++q, p += step, w += 8)
                for (int l = 0; l < 8; ++l) lane[l] += w[l] * p[l];
            lines[size_t(r)][c] = 0xFF000000u | level(lane[2] + lane[b + 2]) << 16 |
                                  level(lane[1] + lane[b + 1]) << 8 | level(lane[0] + lane[b]);
        }
    }
}

#if defined(__x86_64__)
#define KESTROVA_AVX2 __attribute__((target("avx2,fma")))

// Bytes added in 16-bit lanes: this many rows at most before a lane could overflow.
constexpr int kRowsPerWordSum = 65535 / 255;

// The rows are read in short pieces side by side, which the processor's own prefetching does not follow:
// each piece asks for the same row's bytes this far on.
constexpr ptrdiff_t kPrefetchDistance = 512;

KESTROVA_AVX2 void Prefetch(const uint8_t* p) {
    _mm_prefetch(reinterpret_cast<const char*>(p) + kPrefetchDistance, _MM_HINT_T0);
}
KESTROVA_AVX2 __m256 Floats(const uint8_t* p) {
    return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}
KESTROVA_AVX2 __m256 Floats(__m128i words) {
    return _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(words));
}
KESTROVA_AVX2 __m256i Words(const uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// Eight sums: the inner rows' (8 words) and the two edge rows' bytes, each at its weight.
KESTROVA_AVX2 void StoreSums(__m128i innerRows, const uint8_t* first, const uint8_t* last, __m256 inner,
                             __m256 firstWeight, __m256 lastWeight, float* sums) {
    const __m256 edges = _mm256_fmadd_ps(Floats(last), lastWeight, _mm256_mul_ps(Floats(first), firstWeight));
    _mm256_storeu_ps(sums, _mm256_fmadd_ps(Floats(innerRows), inner, edges));
}

// 64 bytes a step down all the span's rows: the inner rows added two at a time in 16-bit lanes held in
// registers, then the step's sums made in floats with the two edge rows. A row whose length is not a
// multiple of 64 ends in a step that overlaps the one before. Rows shorter than a step, and spans of more
// inner rows than the lanes hold (shrinking by more than 257), go the portable way.
KESTROVA_AVX2 void SumRowsAvx2(const RowSpan& s, size_t n, float* sums) {
    const int innerRows = s.count - 2;
    if (n < 64 || innerRows > kRowsPerWordSum) return SumRowsPortable(s, n, sums);
    const __m256 firstWeight = _mm256_set1_ps(s.firstWeight), inner = _mm256_set1_ps(s.inner),
                 lastWeight = _mm256_set1_ps(s.lastWeight);
    const ptrdiff_t stride = s.stride;
    const uint8_t* const firstRow = s.first;
    const uint8_t* const lastRow = s.Row(s.count - 1);
    for (size_t next = 0; next < n; next += 64) {
        const size_t at = std::min(next, n - 64);
        const uint8_t* first = firstRow + at;
        const uint8_t* last = lastRow + at;
        Prefetch(first);
        Prefetch(last);
        __m256i w0 = _mm256_setzero_si256(), w1 = w0, w2 = w0, w3 = w0;
        const uint8_t* p = first + stride;
        int y = 0;
        for (; y + 1 < innerRows; y += 2, p += 2 * stride) {
            const uint8_t* q = p + stride;
            Prefetch(p);
            Prefetch(q);
            w0 = _mm256_add_epi16(w0, _mm256_add_epi16(Words(p), Words(q)));
            w1 = _mm256_add_epi16(w1, _mm256_add_epi16(Words(p + 16), Words(q + 16)));
            w2 = _mm256_add_epi16(w2, _mm256_add_epi16(Words(p + 32), Words(q + 32)));
            w3 = _mm256_add_epi16(w3, _mm256_add_epi16(Words(p + 48), Words(q + 48)));
        }
        if (y < innerRows) {
            Prefetch(p);
            w0 = _mm256_add_epi16(w0, Words(p));
            w1 = _mm256_add_epi16(w1, Words(p + 16));
            w2 = _mm256_add_epi16(w2, Words(p + 32));
            w3 = _mm256_add_epi16(w3, Words(p + 48));
        }
        float* out = sums + at;
        const __m256i words[4] = {w0, w1, w2, w3};
        for (int k = 0; k < 4; ++k) {
            StoreSums(_mm256_castsi256_si128(words[k]), first + 16 * k, last + 16 * k, inner, firstWeight,
                      lastWeight, out + 16 * k);
            StoreSums(_mm256_extracti128_si256(words[k], 1), first + 16 * k + 8, last + 16 * k + 8, inner,
                      firstWeight, lastWeight, out + 16 * k + 8);
        }
    }
}

// Each multiply-add takes a pair of source pixels of one column in four rows, the pair's weights loaded
// once for the four. A pair is read as the eight sums from its first value on, so the rows of sums have
// room past the last value a column's weights reach.
KESTROVA_AVX2 void AverageColumnsAvx2(const SumsBlock& sums, const ColumnTaps& taps, int bytesPerPixel,
                                      const LinesBlock& lines) {
    const size_t pairs = taps.pairs, step = 2 * size_t(bytesPerPixel), group = pairs * 8;
    // Lanes 0-2 of a pair's sum get its second pixel's colours added; they start at 1/2 for rounding.
    const __m256i second =
        _mm256_setr_epi32(bytesPerPixel, bytesPerPixel + 1, bytesPerPixel + 2, 3, 4, 5, 6, 7);
    const __m256 half = _mm256_setr_ps(0.5f, 0.5f, 0.5f, 0, 0, 0, 0, 0);
    auto levels = [&](__m256 sum) KESTROVA_AVX2 {
        const __m256 both = _mm256_add_ps(sum, _mm256_permutevar8x32_ps(sum, second));
        return _mm_cvttps_epi32(_mm256_castps256_ps128(both));
    };
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u)), colour = _mm_set1_epi32(0x00FFFFFF);
    const float *r0 = sums[0], *r1 = sums[1], *r2 = sums[2], *r3 = sums[3];
    for (size_t c = 0; c < taps.start.size(); ++c) {
        const float* w = &taps.weights[c * group];
        __m256 s0 = half, s1 = half, s2 = half, s3 = half;
        for (size_t q = 0, at = taps.start[c]; q < pairs; ++q, at += step, w += 8) {
            const __m256 weights = _mm256_loadu_ps(w);
            s0 = _mm256_fmadd_ps(_mm256_loadu_ps(r0 + at), weights, s0);
            s1 = _mm256_fmadd_ps(_mm256_loadu_ps(r1 + at), weights, s1);
            s2 = _mm256_fmadd_ps(_mm256_loadu_ps(r2 + at), weights, s2);
            s3 = _mm256_fmadd_ps(_mm256_loadu_ps(r3 + at), weights, s3);
        }
        const __m128i low = _mm_packs_epi32(levels(s0), levels(s1)),
                      high = _mm_packs_epi32(levels(s2), levels(s3));
        const __m128i pixels = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(low, high), colour), opaque);
        lines[0][c] = uint32_t(_mm_cvtsi128_si32(pixels));
        lines[1][c] = uint32_t(_mm_extract_epi32(pixels, 1));
        lines[2][c] = uint32_t(_mm_extract_epi32(pixels, 2));
        lines[3][c] = uint32_t(_mm_extract_epi32(pixels, 3));
    }
}

// GCC 12's AVX-512 headers start some results from an undefined vector, which its own analysis then
// reports as possibly uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#define KESTROVA_AVX512 __attribute__((target("avx512f,avx512bw,avx2,fma")))

KESTROVA_AVX512 __m512 Floats16(const uint8_t* p) {
    return _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
}
KESTROVA_AVX512 __m512 Floats16(__m256i words) {
    return _mm512_cvtepi32_ps(_mm512_cvtepu16_epi32(words));
}
KESTROVA_AVX512 __m512i Words32(const uint8_t* p) {
    return _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}

KESTROVA_AVX512 void StoreSums16(__m256i innerRows, const uint8_t* first, const uint8_t* last, __m512 inner,
                                 __m512 firstWeight, __m512 lastWeight, float* sums) {
    const __m512 edges =
        _mm512_fmadd_ps(Floats16(last), lastWeight, _mm512_mul_ps(Floats16(first), firstWeight));
    _mm512_storeu_ps(sums, _mm512_fmadd_ps(Floats16(innerRows), inner, edges));
}

// The AVX2 way in registers twice as wide: 128 bytes a step.
KESTROVA_AVX512 void SumRowsAvx512(const RowSpan& s, size_t n, float* sums) {
    const int innerRows = s.count - 2;
    if (n < 128 || innerRows > kRowsPerWordSum) return SumRowsAvx2(s, n, sums);
    const __m512 firstWeight = _mm512_set1_ps(s.firstWeight), inner = _mm512_set1_ps(s.inner),
                 lastWeight = _mm512_set1_ps(s.lastWeight);
    const ptrdiff_t stride = s.stride;
    const uint8_t* const firstRow = s.first;
    const uint8_t* const lastRow = s.Row(s.count - 1);
    for (size_t next = 0; next < n; next += 128) {
        const size_t at = std::min(next, n - 128);
        const uint8_t* first = firstRow + at;
        const uint8_t* last = lastRow + at;
        Prefetch(first);
        Prefetch(first + 64);
        Prefetch(last);
        Prefetch(last + 64);
        __m512i w0 = _mm512_setzero_si512(), w1 = w0, w2 = w0, w3 = w0;
        const uint8_t* p = first + stride;
        int y = 0;
        for (; y + 1 < innerRows; y += 2, p += 2 * stride) {
            const uint8_t* q = p + stride;
            Prefetch(p);
            Prefetch(p + 64);
            Prefetch(q);
            Prefetch(q + 64);
            w0 = _mm512_add_epi16(w0, _mm512_add_epi16(Words32(p), Words32(q)));
            w1 = _mm512_add_epi16(w1, _mm512_add_epi16(Words32(p + 32), Words32(q + 32)));
            w2 = _mm512_add_epi16(w2, _mm512_add_epi16(Words32(p + 64), Words32(q + 64)));
            w3 = _mm512_add_epi16(w3, _mm512_add_epi16(Words32(p + 96), Words32(q + 96)));
        }
        if (y < innerRows) {
            Prefetch(p);
            Prefetch(p + 64);
            w0 = _mm512_add_epi16(w0, Words32(p));
            w1 = _mm512_add_epi16(w1, Words32(p + 32));
            w2 = _mm512_add_epi16(w2, Words32(p + 64));
            w3 = _mm512_add_epi16(w3, Words32(p + 96));
        }
        float* out = sums + at;
        const __m512i words[4] = {w0, w1, w2, w3};
        for (int k = 0; k < 4; ++k) {
            StoreSums16(_mm512_castsi512_si256(words[k]), first + 32 * k, last + 32 * k, inner, firstWeight,
                        lastWeight, out + 32 * k);
            StoreSums16(_mm512_extracti64x4_epi64(words[k], 1), first + 32 * k + 16, last + 32 * k + 16,
                        inner, firstWeight, lastWeight, out + 32 * k + 16);
        }
    }
}
#pragma GCC diagnostic pop
#endif

// A block's rows of sums, `room` floats each, all past the first n zero. Kept between calls, each thread
// its own, since every call overwrites the first n of a row before reading it.
float* RowsOfSums(size_t n, size_t room) {
    thread_local std::vector<float> sums;
    sums.resize(std::max(sums.size(), kBlock * room));
    for (size_t j = 0; j < kBlock; ++j) std::fill_n(sums.begin() + ptrdiff_t(j * room + n), room - n, 0.0f);
    return sums.data();
}

struct Loops {
    void (*sumRows)(const RowSpan&, size_t, float*);
    void (*averageColumns)(const SumsBlock&, const ColumnTaps&, int, const LinesBlock&);
};

Loops LoopsFor(PixelLoops loops) {
#if defined(__x86_64__)
    if (loops == PixelLoops::kAvx2) return {SumRowsAvx2, AverageColumnsAvx2};
    if (loops == PixelLoops::kAvx512) return {SumRowsAvx512, AverageColumnsAvx2};
#endif
    return {SumRowsPortable, AverageColumnsPortable};
}

}  // namespace

bool Supported(PixelLoops loops) {
#if defined(__x86_64__)
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
    const Loops loops = LoopsFor(which);
    const std::vector<Span> columns = Spans(job.sourceWidth, job.width, job.left, job.right);
    const std::vector<Span> rows = Spans(job.sourceHeight, job.height, job.top, job.bottom);
    const int bpp = job.source.bytesPerPixel;
    // Only the source columns that the wanted cells cover.
    const int firstColumn = columns.front().first;
    const size_t n = size_t(columns.back().last - firstColumn + 1) * size_t(bpp);
    const ptrdiff_t stride = job.source.stride;
    const uint8_t* corner =
        job.source.top + stride * job.sourceY + ptrdiff_t(job.sourceX + firstColumn) * bpp;
    const float perArea = 1.0f / (float(job.sourceWidth) * float(job.sourceHeight));
    const ColumnTaps taps = Taps(columns, firstColumn, bpp, float(job.width), perArea);

    // Room past the end for the pairs of the last columns, read whole at weight 0.
    const size_t room = n + taps.pairs * 2 * size_t(bpp) + 8;
    float* const sums = RowsOfSums(n, room);
    // Destination rows go in the order their source lies in memory (bottom-up pictures from the bottom),
    // so the source is read in one ascending sweep.
    const bool upward = stride < 0;
    for (size_t k = 0; k < rows.size(); k += kBlock) {
        SumsBlock block;
        LinesBlock lines;
        for (size_t j = 0; j < kBlock; ++j) {
            if (k + j >= rows.size()) {  // a short block repeats its last row
                block[j] = block[j - 1];
                lines[j] = lines[j - 1];
                continue;
            }
            const size_t index = upward ? rows.size() - 1 - (k + j) : k + j;
            float* rowSums = sums + j * room;
            block[j] = rowSums;
            lines[j] = out + index * outStride;
            loops.sumRows(InMemoryOrder(corner, stride, rows[index], float(job.height)), n, rowSums);
        }
        loops.averageColumns(block, taps, bpp, lines);
    }
}

}  // namespace kestrova::ui
