// Filling, framing, lines, single pixels and copies between device contexts.

#include "platform/ui/drawing.h"

#include <cstdlib>

namespace kestrova::ui {

std::optional<Drawing> Drawing::Begin(HDC hdc, bool forWriting) {
    Drawing d;
    d.lock = LockGdi();
    d.dc = FindDcLocked(hdc);
    if (!d.dc) return std::nullopt;
    auto target = TargetLocked(*d.dc, forWriting);
    if (!target) return std::nullopt;
    d.target = std::move(*target);
    return d;
}

Region Drawing::OnSurface(const RECT& r) const {
    return Region(RECT{r.left + target.origin.x, r.top + target.origin.y, r.right + target.origin.x,
                       r.bottom + target.origin.y});
}

void Drawing::Fill(const RECT& r, COLORREF color) {
    FillAreaLocked(target, OnSurface(r), color);
}

void Drawing::Plot(int x, int y, COLORREF color) {
    x += target.origin.x;
    y += target.origin.y;
    if (target.area.Contains(x, y))
        target.surface->Pixels()[size_t(y) * size_t(target.surface->Width()) + size_t(x)] = ToPixel(color);
}

namespace {

// A source context's pixels as a pixman image, and the part of them that may be read (surface coordinates).
struct Source {
    pixman_image_t* image = nullptr;
    POINT origin;
    Region readable;
    std::shared_ptr<Surface> copy;  // when source and destination share their pixels
};

std::optional<Source> SourceOf(HDC hdc, const Surface* destination) {
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return std::nullopt;
    auto t = TargetLocked(*dc, false);
    if (!t) return std::nullopt;
    Source s;
    s.origin = t->origin;
    s.readable = t->area;
    if (t->surface == destination) {
        s.copy = t->surface->Clone();
        s.image = s.copy->Image();
    } else {
        s.image = t->surface->Image();
    }
    return s;
}

void CopyBoxes(pixman_image_t* source, Drawing& d, const Region& area, int sourceDx, int sourceDy) {
    for (const RECT& r : area.Rects())
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, d.target.surface->Image(), r.left + sourceDx,
                                 r.top + sourceDy, 0, 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool FillWithRop(Drawing& d, const RECT& r, DWORD rop) {
    switch (rop) {
        case PATCOPY: {
            BrushData brush = BrushOfLocked(d.dc->brush);
            if (!brush.hollow) d.Fill(r, brush.color);
            return true;
        }
        case BLACKNESS:
            d.Fill(r, RGB(0, 0, 0));
            return true;
        case WHITENESS:
            d.Fill(r, RGB(255, 255, 255));
            return true;
    }
    return false;
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    auto d = Drawing::Begin(hdc, true);
    if (!d || !rect) return 0;
    BrushData b = BrushOfLocked(brush);
    if (!b.hollow) d->Fill(*rect, b.color);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    auto d = Drawing::Begin(hdc, true);
    if (!d || !rect) return 0;
    BrushData b = BrushOfLocked(brush);
    const RECT& r = *rect;
    if (b.hollow || RectEmpty(r)) return 1;
    Region frame(r);
    frame.Subtract(Region(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
    frame.Offset(d->target.origin.x, d->target.origin.y);
    FillAreaLocked(d->target, frame, b.color);
    return 1;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    auto d = Drawing::Begin(hdc, true);
    if (!d) return FALSE;
    BrushData brush = BrushOfLocked(d->dc->brush);
    PenData pen = PenOfLocked(*d->dc);
    RECT r{left, top, right, bottom};
    bool outline = pen.style != PS_NULL;
    if (!brush.hollow) d->Fill(outline ? RECT{left + 1, top + 1, right - 1, bottom - 1} : r, brush.color);
    if (outline && !RectEmpty(r)) {
        Region frame(r);
        frame.Subtract(Region(RECT{left + 1, top + 1, right - 1, bottom - 1}));
        frame.Offset(d->target.origin.x, d->target.origin.y);
        FillAreaLocked(d->target, frame, pen.color);
    }
    return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return FALSE;
    if (previous) *previous = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    auto d = Drawing::Begin(hdc, true);
    if (!d) return FALSE;
    POINT from = d->dc->position;
    d->dc->position = POINT{x, y};
    PenData pen = PenOfLocked(*d->dc);
    if (pen.style == PS_NULL) return TRUE;
    if (from.y == y || from.x == x) {
        // Straight lines as one fill; the end point stays out.
        auto span = [](int a, int b) { return b > a ? std::pair{a, b} : std::pair{b + 1, a + 1}; };
        RECT r;
        if (from.y == y) {
            auto [left, right] = span(from.x, x);
            r = RECT{left, y, right, y + 1};
        } else {
            auto [top, bottom] = span(from.y, y);
            r = RECT{x, top, x + 1, bottom};
        }
        d->Fill(r, pen.color);
        return TRUE;
    }
    int dx = std::abs(x - from.x), dy = -std::abs(y - from.y);
    int sx = from.x < x ? 1 : -1, sy = from.y < y ? 1 : -1;
    int err = dx + dy, px = from.x, py = from.y;
    while (px != x || py != y) {
        d->Plot(px, py, pen.color);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            px += sx;
        }
        if (e2 <= dx) {
            err += dx;
            py += sy;
        }
    }
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    auto d = Drawing::Begin(hdc, true);
    if (!d) return CLR_INVALID;
    d->Plot(x, y, color & 0xFFFFFF);
    return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    auto d = Drawing::Begin(hdc, false);
    if (!d) return CLR_INVALID;
    x += d->target.origin.x;
    y += d->target.origin.y;
    if (!d->target.area.Contains(x, y)) return CLR_INVALID;
    return FromPixel(d->target.surface->Pixels()[size_t(y) * size_t(d->target.surface->Width()) + size_t(x)]);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
    auto d = Drawing::Begin(dest, true);
    if (!d) return FALSE;
    RECT r{x, y, x + width, y + height};
    if (rop != SRCCOPY) return FillWithRop(*d, r, rop) ? TRUE : FALSE;
    auto s = SourceOf(source, d->target.surface);
    if (!s) return FALSE;
    // Surface coordinates of the source minus those of the destination, for the same pixel.
    int dx = (s->origin.x + sourceX) - (d->target.origin.x + x);
    int dy = (s->origin.y + sourceY) - (d->target.origin.y + y);
    Region area = d->OnSurface(r);
    area.Intersect(d->target.area);
    Region readable = s->readable;  // only what the source has is copied
    readable.Offset(-dx, -dy);
    area.Intersect(readable);
    CopyBoxes(s->image, *d, area, dx, dy);
    return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop) {
    if (width == sourceWidth && height == sourceHeight)
        return BitBlt(dest, x, y, width, height, source, sourceX, sourceY, rop);
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || rop != SRCCOPY) return FALSE;
    auto d = Drawing::Begin(dest, true);
    if (!d) return FALSE;
    auto s = SourceOf(source, d->target.surface);
    if (!s) return FALSE;
    pixman_image_t* view = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, pixman_image_get_width(s->image), pixman_image_get_height(s->image),
        pixman_image_get_data(s->image), pixman_image_get_stride(s->image));
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sourceWidth) / width),
                                pixman_double_to_fixed(double(sourceHeight) / height));
    pixman_transform_translate(nullptr, &t, pixman_int_to_fixed(s->origin.x + sourceX),
                               pixman_int_to_fixed(s->origin.y + sourceY));
    pixman_image_set_transform(view, &t);
    pixman_image_set_filter(
        view, d->dc->stretchMode == HALFTONE ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_set_repeat(view, PIXMAN_REPEAT_PAD);
    Region area = d->OnSurface(RECT{x, y, x + width, y + height});
    area.Intersect(d->target.area);
    int originX = d->target.origin.x + x, originY = d->target.origin.y + y;
    CopyBoxes(view, *d, area, -originX, -originY);
    pixman_image_unref(view);
    return TRUE;
}
