#pragma once
// The area average behind HALFTONE stretching: every destination pixel is the mean of the source area it
// covers, the source pixels at its edges counted by the part of them it covers. Works at any ratio on
// either axis (where a source pixel is spread over several destination pixels, each of them takes its
// colour, blended only where a pixel boundary falls inside one). Pure computation on the caller's thread;
// the caller holds whatever lock guards the pixels.

#include <cstddef>
#include <cstdint>

namespace kestrova::ui {

// Source pixels addressed top row first, whatever order their rows lie in.
struct PixelRows {
    const uint8_t* top = nullptr;  // the first pixel of the top row
    ptrdiff_t stride = 0;          // bytes from a row to the one below it (negative for bottom-up storage)
    int bytesPerPixel = 3;         // 3 or 4; the first three bytes are blue, green, red
};

struct AreaAverageJob {
    PixelRows source;
    int sourceX = 0, sourceY = 0, sourceWidth = 0, sourceHeight = 0;  // the rectangle to average
    int width = 0, height = 0;                                        // the whole destination's size
    // The destination cells wanted: columns [left, right) and rows [top, bottom) of width x height.
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The instruction sets the inner loops are written for (x86-64 ones only on x86-64). Each computes the
// same bits; the tests run every one the processor has.
enum class PixelLoops { kPortable, kAvx2, kAvx512 };
bool Supported(PixelLoops loops);

// The largest source or destination side the fixed point takes.
constexpr int kAreaAverageMaxSide = 32767;

// Writes the wanted cells as 0xFFRRGGBB, the cell (left, top) at `out`, rows `outStride` pixels apart.
// Every level is the exact average rounded to the nearest, give or take 1/32. Uses the fastest loops this
// processor runs unless told which. The source rectangle must lie inside the picture, the cells inside the
// destination and not be empty, and no side may exceed kAreaAverageMaxSide.
void AreaAverage(const AreaAverageJob& job, uint32_t* out, size_t outStride);
void AreaAverage(const AreaAverageJob& job, uint32_t* out, size_t outStride, PixelLoops loops);

}  // namespace kestrova::ui
