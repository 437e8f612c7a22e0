// StretchDIBits: device-independent bitmaps (frames) drawn stretched into a device context.
//
// Shrinking in HALFTONE mode averages, for every destination pixel, the source area it covers, partial
// source pixels at its edges counted by the part they cover. Done separably: each destination row first sums
// the source rows it covers (contiguous bytes, which the compiler vectorises), then each destination pixel
// sums the columns of that row sum. Every other case (enlarging, other modes) is pixman's bilinear or
// nearest scaling.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/ui/drawing.h"

namespace kestrova::ui {
namespace {

// How destination cells of one axis cover the source: cell d covers source pixels [first, last] with the
// weights firstWeight (pixel `first`), `full` (the pixels between) and lastWeight (pixel `last`, when it
// differs from `first`). The weights of a cell add up to the source length.
struct Span {
    int first, last;
    uint32_t firstWeight, lastWeight;
};

std::vector<Span> Spans(int source, int destination) {
    std::vector<Span> spans(static_cast<size_t>(destination));
    for (int d = 0; d < destination; ++d) {
        // In units of 1/destination of a source pixel, cell d covers [d * source, (d + 1) * source).
        int64_t begin = int64_t(d) * source, end = int64_t(d + 1) * source;
        Span& s = spans[size_t(d)];
        s.first = int(begin / destination);
        s.last = int((end - 1) / destination);
        if (s.first == s.last) {
            s.firstWeight = uint32_t(end - begin);
            s.lastWeight = 0;
        } else {
            s.firstWeight = uint32_t((int64_t(s.first) + 1) * destination - begin);
            s.lastWeight = uint32_t(end - int64_t(s.last) * destination);
        }
    }
    return spans;
}

// A source picture addressed top row first, whatever order its rows lie in.
struct SourcePicture {
    const uint8_t* top;  // the top row
    ptrdiff_t stride;    // bytes from a row to the one below it (negative for bottom-up storage)
    int bytesPerPixel;   // 3 or 4; the first three are blue, green, red
    const uint8_t* Row(int y) const { return top + ptrdiff_t(y) * stride; }
};

// The two inner loops are built for AVX2 too and picked when the program loads. ThreadSanitizer cannot run
// that choice (it comes before its own start-up), so its builds keep the plain loops.
#ifdef __SANITIZE_THREAD__
#define KESTROVA_ROW_LOOP __attribute__((optimize("O3")))
#else
#define KESTROVA_ROW_LOOP __attribute__((optimize("O3"), target_clones("avx2", "default")))
#endif

KESTROVA_ROW_LOOP void AddRow(uint32_t* sum, const uint8_t* row, size_t n) {
    for (size_t k = 0; k < n; ++k) sum[k] += row[k];
}

// One destination row of averages with 8 fraction bits: the inner rows' sum at full weight plus the two
// partly covered edge rows at theirs, times `scale` (256 / the weights' total).
KESTROVA_ROW_LOOP void AverageRows(uint16_t* out, const uint32_t* inner, uint32_t full, const uint8_t* first,
                                   uint32_t firstWeight, const uint8_t* last, uint32_t lastWeight,
                                   float scale, size_t n) {
    for (size_t k = 0; k < n; ++k) {
        uint32_t sum = inner[k] * full + first[k] * firstWeight + last[k] * lastWeight;
        out[k] = uint16_t(float(sum) * scale + 0.5f);
    }
}

// For each destination column, where its source pixels start in a row of averages and their weights, scaled
// so that the weighted sum of the averages (8 fraction bits) is the level itself.
struct ColumnTaps {
    int most = 0;                // the widest column's number of source pixels
    std::vector<size_t> start;   // per column: index of its first channel value
    std::vector<float> weights;  // per column: `most` weights, unused ones 0
    int bytesPerPixel = 3;
};

ColumnTaps Taps(const std::vector<Span>& columns, int firstColumn, int bpp, int width, int outWidth) {
    ColumnTaps t;
    t.bytesPerPixel = bpp;
    for (const Span& c : columns) t.most = std::max(t.most, c.last - c.first + 1);
    const float scale = 1.0f / (float(width) * 256.0f);
    t.start.resize(columns.size());
    t.weights.assign(columns.size() * size_t(t.most), 0.0f);
    for (size_t j = 0; j < columns.size(); ++j) {
        const Span& c = columns[j];
        t.start[j] = size_t(c.first - firstColumn) * size_t(bpp);
        float* w = &t.weights[j * size_t(t.most)];
        for (int i = c.first; i <= c.last; ++i) {
            uint32_t weight = i == c.first ? c.firstWeight : i == c.last ? c.lastWeight : uint32_t(outWidth);
            w[i - c.first] = float(weight) * scale;
        }
    }
    return t;
}

// One destination row from a row of averages: columns [c0, c1) into `line` as 0xFFRRGGBB.
void ShrinkColumns(const uint16_t* averaged, const ColumnTaps& t, int c0, int c1, uint32_t* line) {
    const int bpp = t.bytesPerPixel;
    for (int c = c0; c < c1; ++c) {
        const uint16_t* p = averaged + t.start[size_t(c)];
        const float* w = &t.weights[size_t(c) * size_t(t.most)];
        float blue = 0, green = 0, red = 0;
        for (int k = 0; k < t.most; ++k, p += bpp) {
            blue += w[k] * p[0];
            green += w[k] * p[1];
            red += w[k] * p[2];
        }
        auto level = [](float v) { return uint32_t(std::min(255.0f, v + 0.5f)); };
        line[c - c0] = 0xFF000000u | (level(red) << 16) | (level(green) << 8) | level(blue);
    }
}

// Area-averages the source rectangle (x, y, width, height) into the destination cells [c0, c1) x [r0, r1) of
// a destination of outWidth x outHeight, written to `out` (0xFFRRGGBB, `outStride` pixels a row, the cell
// (c0, r0) first).
void BoxShrink(const SourcePicture& src, int x, int y, int width, int height, int outWidth, int outHeight,
               int c0, int c1, int r0, int r1, uint32_t* out, size_t outStride) {
    std::vector<Span> columns = Spans(width, outWidth), rows = Spans(height, outHeight);
    const int bpp = src.bytesPerPixel;
    // Only the source columns that the wanted destination columns cover.
    int firstColumn = columns[size_t(c0)].first, lastColumn = columns[size_t(c1 - 1)].last;
    size_t rowBytes = size_t(lastColumn - firstColumn + 1) * size_t(bpp);
    size_t skip = size_t(x + firstColumn) * size_t(bpp);
    std::vector<uint32_t> inner(rowBytes);

    const float rowScale = 256.0f / float(height);
    const uint32_t fullRow = uint32_t(outHeight);
    ColumnTaps taps = Taps(columns, firstColumn, bpp, width, outWidth);
    // Room past the end: every column reads `most` pixels, the unused ones at weight 0.
    std::vector<uint16_t> averaged(rowBytes + size_t(taps.most) * size_t(bpp), 0);

    for (int r = r0; r < r1; ++r) {
        const Span& rs = rows[size_t(r)];
        std::fill(inner.begin(), inner.end(), 0);
        for (int sy = rs.first + 1; sy < rs.last; ++sy)
            AddRow(inner.data(), src.Row(y + sy) + skip, rowBytes);
        const uint8_t* firstRow = src.Row(y + rs.first) + skip;
        const uint8_t* lastRow = src.Row(y + rs.last) + skip;
        AverageRows(averaged.data(), inner.data(), fullRow, firstRow, rs.firstWeight, lastRow, rs.lastWeight,
                    rowScale, rowBytes);

        ShrinkColumns(averaged.data(), taps, c0, c1, out + size_t(r - r0) * outStride);
    }
}

// Draws with pixman's own scaling: bilinear or nearest.
void PixmanStretch(Drawing& d, const SourcePicture& src, int pictureWidth, int pictureHeight, int x, int y,
                   int width, int height, int dx, int dy, int outWidth, int outHeight, const Region& area) {
    pixman_image_t* view = pixman_image_create_bits(
        src.bytesPerPixel == 3 ? PIXMAN_r8g8b8 : PIXMAN_x8r8g8b8, pictureWidth, pictureHeight,
        reinterpret_cast<uint32_t*>(const_cast<uint8_t*>(src.top)), int(src.stride));
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(width) / outWidth),
                                pixman_double_to_fixed(double(height) / outHeight));
    pixman_transform_translate(nullptr, &t, pixman_int_to_fixed(x), pixman_int_to_fixed(y));
    pixman_image_set_transform(view, &t);
    pixman_image_set_filter(
        view, d.dc->stretchMode == HALFTONE ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(view, PIXMAN_REPEAT_PAD);
    for (const RECT& r : area.Rects())
        pixman_image_composite32(PIXMAN_OP_SRC, view, nullptr, d.target.surface->Image(), r.left - dx,
                                 r.top - dy, 0, 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    pixman_image_unref(view);
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

int StretchDIBits(HDC hdc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != 0 || h.biWidth <= 0 ||
        h.biHeight == 0)
        return 0;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return 0;
    const int pictureWidth = h.biWidth, pictureHeight = std::abs(h.biHeight);
    const bool bottomUp = h.biHeight > 0;
    const ptrdiff_t stride = ((ptrdiff_t(pictureWidth) * h.biBitCount + 31) / 32) * 4;
    // For a bottom-up picture the source rectangle is measured from its bottom-left corner.
    int top = bottomUp ? pictureHeight - sourceY - sourceHeight : sourceY;
    if (sourceX < 0 || top < 0 || sourceX + sourceWidth > pictureWidth || top + sourceHeight > pictureHeight)
        return 0;

    SourcePicture src;
    src.bytesPerPixel = h.biBitCount / 8;
    src.stride = bottomUp ? -stride : stride;
    src.top = static_cast<const uint8_t*>(bits) + (bottomUp ? stride * (pictureHeight - 1) : 0);

    auto d = Drawing::Begin(hdc, true);
    if (!d) return 0;
    Region area = d->OnSurface(RECT{x, y, x + width, y + height});
    area.Intersect(d->target.area);
    if (area.Empty()) return sourceHeight;
    const int dx = d->target.origin.x + x, dy = d->target.origin.y + y;

    bool shrinking = width <= sourceWidth && height <= sourceHeight;
    if (d->dc->stretchMode != HALFTONE || !shrinking) {
        PixmanStretch(*d, src, pictureWidth, pictureHeight, sourceX, top, sourceWidth, sourceHeight, dx, dy,
                      width, height, area);
        return sourceHeight;
    }
    // Only the destination cells that show are computed.
    RECT b = area.Bounds();
    int c0 = b.left - dx, c1 = b.right - dx, r0 = b.top - dy, r1 = b.bottom - dy;
    size_t cellsWide = size_t(c1 - c0);
    std::vector<uint32_t> cells(cellsWide * size_t(r1 - r0));
    BoxShrink(src, sourceX, top, sourceWidth, sourceHeight, width, height, c0, c1, r0, r1, cells.data(),
              cellsWide);
    Surface& s = *d->target.surface;
    for (const RECT& r : area.Rects())
        for (int row = r.top; row < r.bottom; ++row)
            std::memcpy(s.Pixels() + size_t(row) * size_t(s.Width()) + size_t(r.left),
                        cells.data() + size_t(row - b.top) * cellsWide + size_t(r.left - b.left),
                        size_t(r.right - r.left) * 4);
    return sourceHeight;
}
