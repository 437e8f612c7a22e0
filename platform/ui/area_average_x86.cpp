// The area average's loops for AVX2 and AVX-512 (area_average_kernels.h). Each computes the same bits as
// the portable loops, only wider.

#include "platform/ui/area_average_kernels.h"

#if defined(KESTROVA_AREA_AVERAGE_X86)
#include <immintrin.h>

#include <algorithm>

namespace kestrova::ui::area_average {
namespace {

// GCC 12's AVX-512 headers start some results from an undefined vector, which its own analysis then
// reports as possibly uninitialised.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
// The loop template returns vectors; it is always inlined into a function built for their instructions.
#pragma GCC diagnostic ignored "-Wpsabi"
#define KESTROVA_AVX2 __attribute__((target("avx2,fma")))
#define KESTROVA_AVX512 __attribute__((target("avx512f,avx512bw,avx2,fma")))

// What the row loop does to vectors of 16-bit lanes, in each instruction set.
struct Avx2Ops {
    static KESTROVA_AVX2 __m256i Widen(const uint8_t* p) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    static KESTROVA_AVX2 __m256i Zero() { return _mm256_setzero_si256(); }
    static KESTROVA_AVX2 __m256i Set(uint16_t v) { return _mm256_set1_epi16(int16_t(v)); }
    static KESTROVA_AVX2 __m256i Add(__m256i a, __m256i b) { return _mm256_add_epi16(a, b); }
    static KESTROVA_AVX2 __m256i Shift(__m256i a, int bits) {
        return _mm256_sll_epi16(a, _mm_cvtsi32_si128(bits));
    }
    static KESTROVA_AVX2 __m256i Weigh(__m256i a, __m256i share) { return _mm256_mulhi_epu16(a, share); }
    static KESTROVA_AVX2 void Store(int16_t* p, __m256i a) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), a);
    }
};

struct Avx512Ops {
    static KESTROVA_AVX512 __m512i Widen(const uint8_t* p) {
        return _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    }
    static KESTROVA_AVX512 __m512i Zero() { return _mm512_setzero_si512(); }
    static KESTROVA_AVX512 __m512i Set(uint16_t v) { return _mm512_set1_epi16(int16_t(v)); }
    static KESTROVA_AVX512 __m512i Add(__m512i a, __m512i b) { return _mm512_add_epi16(a, b); }
    static KESTROVA_AVX512 __m512i Shift(__m512i a, int bits) {
        return _mm512_sll_epi16(a, _mm_cvtsi32_si128(bits));
    }
    static KESTROVA_AVX512 __m512i Weigh(__m512i a, __m512i share) { return _mm512_mulhi_epu16(a, share); }
    static KESTROVA_AVX512 void Store(int16_t* p, __m512i a) {
        _mm512_storeu_si512(reinterpret_cast<__m512i*>(p), a);
    }
};

// Four pixels to `line`, or as many of them as are `left` in the row.
KESTROVA_AVX2 void StoreFour(__m128i pixels, int left, uint32_t* line) {
    if (left >= 4) return _mm_storeu_si128(reinterpret_cast<__m128i*>(line), pixels);
    alignas(16) uint32_t four[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(four), pixels);
    std::copy(four, four + left, line);
}

// One step of the row loop: kParts vectors of the row's width from byte `at`, down all its rows, the sums
// held in registers, then weighed, the edge rows added, and stored. The loops over the parts are unrolled by
// pragma: at -O2 GCC leaves them as loops and keeps the sums in arrays in memory, at half the speed.
template <typename V, typename Ops, int kParts>
inline __attribute__((always_inline)) void LevelsStep(const RowPlan& row, size_t at, int16_t* levels) {
    constexpr size_t kPart = sizeof(V) / 2;  // bytes widened into one vector of words
    const V firstShare = Ops::Set(row.firstShare), lastShare = Ops::Set(row.lastShare),
            innerShare = Ops::Set(row.innerShare);
    const uint8_t* const lastRow = row.Row(row.count - 1);
    V out[kParts];
#pragma GCC unroll 8
    for (int k = 0; k < kParts; ++k) out[k] = Ops::Zero();
    for (int from = 1; from < row.count - 1; from += row.innerBatch) {
        const int to = std::min(from + row.innerBatch, row.count - 1);
        V sum[kParts];
#pragma GCC unroll 8
        for (int k = 0; k < kParts; ++k) sum[k] = Ops::Zero();
        const uint8_t* p = row.Row(from) + at;
        for (int y = from; y < to; ++y, p += row.stride) {
#pragma GCC unroll 8
            for (int k = 0; k < kParts; ++k) sum[k] = Ops::Add(sum[k], Ops::Widen(p + k * kPart));
        }
#pragma GCC unroll 8
        for (int k = 0; k < kParts; ++k)
            out[k] = Ops::Add(out[k], Ops::Weigh(Ops::Shift(sum[k], row.innerShift), innerShare));
    }
#pragma GCC unroll 8
    for (int k = 0; k < kParts; ++k) {
        V level = Ops::Weigh(Ops::Shift(Ops::Widen(row.first + at + k * kPart), 8), firstShare);
        if (row.count > 1)
            level =
                Ops::Add(level, Ops::Weigh(Ops::Shift(Ops::Widen(lastRow + at + k * kPart), 8), lastShare));
        Ops::Store(levels + at + k * kPart, Ops::Add(out[k], level));
    }
}

// The row loop, in whole steps. What is left of a row after them ends in a half step when it fits one (a
// whole-width row of a 640-pixel frame is seven and a half AVX-512 steps), else in a step that overlaps the
// one before. Rows shorter than a step go the narrower way.
template <typename V, typename Ops, int kParts>
inline __attribute__((always_inline)) void Levels(const RowPlan& row, size_t n, int16_t* levels) {
    constexpr size_t kStep = sizeof(V) / 2 * kParts;
    size_t at = 0;
    for (; at + kStep <= n; at += kStep) LevelsStep<V, Ops, kParts>(row, at, levels);
    if (at == n) return;
    if (n - at <= kStep / 2)
        LevelsStep<V, Ops, kParts / 2>(row, n - kStep / 2, levels);
    else
        LevelsStep<V, Ops, kParts>(row, n - kStep, levels);
}

KESTROVA_AVX2 void LevelsAvx2(const RowPlan& row, size_t n, int16_t* levels) {
    if (n < sizeof(__m256i)) return PortableKernels().levels(row, n, levels);
    Levels<__m256i, Avx2Ops, 2>(row, n, levels);
}

KESTROVA_AVX512 void LevelsAvx512(const RowPlan& row, size_t n, int16_t* levels) {
    if (n < 4 * sizeof(__m512i)) return LevelsAvx2(row, n, levels);
    Levels<__m512i, Avx512Ops, 8>(row, n, levels);
}

// The AVX2 column loop reads each pair of pixels into a 128-bit lane and shuffles it into ColumnPlan's
// order: a's and b's blue, green, red side by side, then two words at weight 0.
KESTROVA_AVX2 __m256i PairUpBytes(int bytesPerPixel) {
    const int b = bytesPerPixel * 2;  // bytes from a pixel to the next
    const __m128i lane = _mm_setr_epi8(0, 1, char(b), char(b + 1), 2, 3, char(b + 2), char(b + 3), 4, 5,
                                       char(b + 4), char(b + 5), -1, -1, -1, -1);
    return _mm256_broadcastsi128_si256(lane);
}

// The weighted sums of one column: two 128-bit lanes of (blue, green, red, 0).
template <int kGroups>
KESTROVA_AVX2 inline __m256i ColumnSumsAvx2(const int16_t* levels, const ColumnPlan& plan, size_t column,
                                            __m256i pairUp) {
    const int groups = kGroups ? kGroups : plan.groups;
    const size_t pairStep = 2 * size_t(plan.bytesPerPixel);  // words from a pair to the next
    const int16_t* at = levels + plan.start[column];
    const int16_t* weights = plan.Weights(column);
    __m256i sums = _mm256_setzero_si256();
    for (int g = 0; g < groups; ++g, at += 4 * pairStep, weights += 32)
        for (size_t half = 0; half < 2; ++half) {
            const int16_t* pair = at + 2 * half * pairStep;
            const __m256i two = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(pair + pairStep),
                                                    reinterpret_cast<const __m128i*>(pair));
            const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + 16 * half));
            sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_shuffle_epi8(two, pairUp), w));
        }
    return sums;
}

template <int kGroups>
KESTROVA_AVX2 inline void Pixels256(const int16_t* levels, const ColumnPlan& plan, Prefetcher ahead,
                                    uint32_t* line) {
    const __m256i pairUp = PairUpBytes(plan.bytesPerPixel);
    const __m256 perUnit = _mm256_set1_ps(plan.perUnit), half = _mm256_set1_ps(0.5f);
    const __m256i inOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    auto level = [&](__m256i sums) KESTROVA_AVX2 {
        return _mm256_cvttps_epi32(_mm256_fmadd_ps(_mm256_cvtepi32_ps(sums), perUnit, half));
    };
    // Two columns' lanes added up: (blue, green, red, 0) of the first, then of the second.
    auto addLanes = [](__m256i a, __m256i b) KESTROVA_AVX2 {
        return _mm256_add_epi32(_mm256_permute2x128_si256(a, b, 0x20), _mm256_permute2x128_si256(a, b, 0x31));
    };
    const size_t perFour = ahead.PerCall(size_t(plan.columns + 3) / 4);
    for (size_t c = 0; c < size_t(plan.columns); c += 4) {
        ahead.Lines(perFour);
        const __m256i first = level(addLanes(ColumnSumsAvx2<kGroups>(levels, plan, c, pairUp),
                                             ColumnSumsAvx2<kGroups>(levels, plan, c + 1, pairUp)));
        const __m256i second = level(addLanes(ColumnSumsAvx2<kGroups>(levels, plan, c + 2, pairUp),
                                              ColumnSumsAvx2<kGroups>(levels, plan, c + 3, pairUp)));
        // Packing works within lanes: the bytes come out as columns 0, 2 | 1, 3.
        const __m256i words = _mm256_packus_epi32(first, second);
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(words, words), inOrder);
        StoreFour(_mm_or_si128(_mm256_castsi256_si128(bytes), opaque), plan.columns - int(c), line + c);
    }
}

// Word indexes that lay a group of eight pixels out as ColumnPlan's weights pair them: for pixels (a, b),
// a's and b's blue, green, red side by side, then two words at weight 0.
template <int kBytesPerPixel>
struct PairUp {
    static constexpr int16_t Index(int i) {
        const int q = i / 8, channel = i % 8 / 2, pixel = 2 * q + i % 2;
        return channel < 3 ? int16_t(pixel * kBytesPerPixel + channel) : 0;
    }
    alignas(64) static constexpr int16_t kIndex[32] = {
        Index(0),  Index(1),  Index(2),  Index(3),  Index(4),  Index(5),  Index(6),  Index(7),
        Index(8),  Index(9),  Index(10), Index(11), Index(12), Index(13), Index(14), Index(15),
        Index(16), Index(17), Index(18), Index(19), Index(20), Index(21), Index(22), Index(23),
        Index(24), Index(25), Index(26), Index(27), Index(28), Index(29), Index(30), Index(31)};
};

// The weighted sums of one column, its levels from `at` and its weights from `weights`: four 128-bit lanes
// of (blue, green, red, 0), one per pair of pixels. kGroups the column's groups when known, else 0 to take
// them from the plan.
template <int kGroups>
KESTROVA_AVX512 inline __m512i ColumnSums(const int16_t* at, const int16_t* weights, const ColumnPlan& plan,
                                          __m512i pairUp) {
    const int groups = kGroups ? kGroups : plan.groups;
    __m512i sums = _mm512_setzero_si512();
    for (int g = 0; g < groups; ++g, at += 8 * plan.bytesPerPixel, weights += 32) {
        const __m512i pairs = _mm512_permutexvar_epi16(pairUp, _mm512_loadu_si512(at));
        sums = _mm512_add_epi32(sums, _mm512_madd_epi16(pairs, _mm512_loadu_si512(weights)));
    }
    return sums;
}

// Four columns' lanes added up: (blue, green, red, 0) of each, in order.
KESTROVA_AVX512 __m512i AddLanes(__m512i c0, __m512i c1, __m512i c2, __m512i c3) {
    const __m512i a = _mm512_add_epi32(_mm512_shuffle_i32x4(c0, c1, _MM_SHUFFLE(1, 0, 1, 0)),
                                       _mm512_shuffle_i32x4(c0, c1, _MM_SHUFFLE(3, 2, 3, 2)));
    const __m512i b = _mm512_add_epi32(_mm512_shuffle_i32x4(c2, c3, _MM_SHUFFLE(1, 0, 1, 0)),
                                       _mm512_shuffle_i32x4(c2, c3, _MM_SHUFFLE(3, 2, 3, 2)));
    return _mm512_add_epi32(_mm512_shuffle_i32x4(a, b, _MM_SHUFFLE(2, 0, 2, 0)),
                            _mm512_shuffle_i32x4(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
}

template <int kGroups>
KESTROVA_AVX512 inline void Pixels512(const int16_t* levels, const ColumnPlan& plan, Prefetcher ahead,
                                      uint32_t* line) {
    const __m512i pairUp = _mm512_load_si512(plan.bytesPerPixel == 3 ? PairUp<3>::kIndex : PairUp<4>::kIndex);
    const __m512 perUnit = _mm512_set1_ps(plan.perUnit);
    // Rounds each level to the nearest; the fourth lane of a pixel, whose sum is 0, becomes its opaque alpha.
    const __m512 offset = _mm512_setr4_ps(0.5f, 0.5f, 0.5f, 255.5f);
    const size_t perFour = ahead.PerCall(size_t(plan.columns + 3) / 4);
    const size_t* start = plan.start.data();
    const int16_t* weights = plan.weights.data();
    const size_t perColumn = size_t(kGroups ? kGroups : plan.groups) * 32;  // weights
    for (size_t c = 0; c < size_t(plan.columns); c += 4, start += 4, weights += 4 * perColumn) {
        ahead.Lines(perFour);
        const __m512i sums =
            AddLanes(ColumnSums<kGroups>(levels + start[0], weights, plan, pairUp),
                     ColumnSums<kGroups>(levels + start[1], weights + perColumn, plan, pairUp),
                     ColumnSums<kGroups>(levels + start[2], weights + 2 * perColumn, plan, pairUp),
                     ColumnSums<kGroups>(levels + start[3], weights + 3 * perColumn, plan, pairUp));
        // The sums are never negative, so only the top needs a clamp, which the narrowing gives.
        const __m512i rounded =
            _mm512_cvttps_epi32(_mm512_fmadd_ps(_mm512_cvtepi32_ps(sums), perUnit, offset));
        const __m128i pixels = _mm512_cvtusepi32_epi8(rounded);
        StoreFour(pixels, plan.columns - int(c), line + c);
    }
}

// Shrinking by up to 7 (every column within eight pixels) goes the unrolled way.
KESTROVA_AVX2 void PixelsAvx2(const int16_t* levels, const ColumnPlan& plan, Prefetcher ahead,
                              uint32_t* line) {
    if (plan.groups == 1) return Pixels256<1>(levels, plan, ahead, line);
    Pixels256<0>(levels, plan, ahead, line);
}

KESTROVA_AVX512 void PixelsAvx512(const int16_t* levels, const ColumnPlan& plan, Prefetcher ahead,
                                  uint32_t* line) {
    if (plan.groups == 1) return Pixels512<1>(levels, plan, ahead, line);
    Pixels512<0>(levels, plan, ahead, line);
}
#pragma GCC diagnostic pop

}  // namespace

Kernels Avx2Kernels() {
    return {LevelsAvx2, PixelsAvx2};
}

Kernels Avx512Kernels() {
    return {LevelsAvx512, PixelsAvx512};
}

}  // namespace kestrova::ui::area_average
#endif
