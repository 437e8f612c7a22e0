// StretchDIBits: device-independent bitmaps (frames) drawn stretched into a device context.
//
// HALFTONE mode averages, for every destination pixel, the source area it covers (area_average.h) whenever
// either axis shrinks, so no source pixel is skipped. Enlarging on both axes in HALFTONE mode is pixman's
// bilinear scaling, smoother there than the area average's blocks, and so are sides too long for the area
// average's fixed point; the other modes take the nearest pixel.

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/ui/area_average.h"
#include "platform/ui/drawing.h"

namespace kestrova::ui {
namespace {

// Draws with pixman's own scaling: bilinear or nearest.
void PixmanStretch(Drawing& d, const PixelRows& src, int pictureWidth, int pictureHeight, int x, int y,
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

// Averages the cells of the destination (at dx, dy on the surface) that show in `area`: straight onto the
// surface when they form one rectangle, else through a buffer of their bounds.
void AverageInto(Drawing& d, AreaAverageJob job, int dx, int dy, const Region& area) {
    const RECT b = area.Bounds();
    job.left = b.left - dx;
    job.right = b.right - dx;
    job.top = b.top - dy;
    job.bottom = b.bottom - dy;
    Surface& s = *d.target.surface;
    const size_t surfaceWidth = size_t(s.Width());
    uint32_t* corner = s.Pixels() + size_t(b.top) * surfaceWidth + size_t(b.left);
    const std::vector<RECT> rects = area.Rects();
    if (rects.size() == 1) return AreaAverage(job, corner, surfaceWidth);

    const size_t cellsWide = size_t(b.right - b.left);
    std::vector<uint32_t> cells(cellsWide * size_t(b.bottom - b.top));
    AreaAverage(job, cells.data(), cellsWide);
    for (const RECT& r : rects)
        for (int row = r.top; row < r.bottom; ++row)
            std::memcpy(s.Pixels() + size_t(row) * surfaceWidth + size_t(r.left),
                        cells.data() + size_t(row - b.top) * cellsWide + size_t(r.left - b.left),
                        size_t(r.right - r.left) * 4);
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

int StretchDIBits(HDC hdc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || usage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biCompression != 0 || h.biWidth <= 0 ||
        h.biHeight == 0 || h.biHeight == std::numeric_limits<int32_t>::min())
        return 0;
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return 0;
    const int pictureWidth = h.biWidth, pictureHeight = std::abs(h.biHeight);
    const bool bottomUp = h.biHeight > 0;
    const ptrdiff_t stride = ((ptrdiff_t(pictureWidth) * h.biBitCount + 31) / 32) * 4;
    // For a bottom-up picture the source rectangle is measured from its bottom-left corner. In 64 bits, so
    // that no rectangle reaching past the picture wraps around into it.
    const int64_t top = bottomUp ? int64_t(pictureHeight) - sourceY - sourceHeight : sourceY;
    if (sourceX < 0 || top < 0 || int64_t(sourceX) + sourceWidth > pictureWidth ||
        top + sourceHeight > pictureHeight)
        return 0;

    PixelRows src;
    src.bytesPerPixel = h.biBitCount / 8;
    src.stride = bottomUp ? -stride : stride;
    src.top = static_cast<const uint8_t*>(bits) + (bottomUp ? stride * (pictureHeight - 1) : 0);

    auto d = Drawing::Begin(hdc, true);
    if (!d) return 0;
    Region area = d->OnSurface(RECT{x, y, x + width, y + height});
    area.Intersect(d->target.area);
    if (area.Empty()) return sourceHeight;
    const int dx = d->target.origin.x + x, dy = d->target.origin.y + y;

    const bool shrinking = width < sourceWidth || height < sourceHeight;
    const bool averageable = std::max({width, height, sourceWidth, sourceHeight}) <= kAreaAverageMaxSide;
    if (d->dc->stretchMode == HALFTONE && shrinking && averageable) {
        AreaAverageJob job;
        job.source = src;
        job.sourceX = sourceX;
        job.sourceY = int(top);
        job.sourceWidth = sourceWidth;
        job.sourceHeight = sourceHeight;
        job.width = width;
        job.height = height;
        AverageInto(*d, job, dx, dy, area);
    } else {
        PixmanStretch(*d, src, pictureWidth, pictureHeight, sourceX, int(top), sourceWidth, sourceHeight, dx,
                      dy, width, height, area);
    }
    return sourceHeight;
}
