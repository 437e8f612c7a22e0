// Region objects, window regions, and invalidating by region.

#include "platform/ui/backend.h"
#include "platform/ui/drawing.h"
#include "platform/ui/window_tree.h"

namespace kestrova::ui {
namespace {

int KindOf(const Region& r) {
    if (r.Empty()) return NULLREGION;
    return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN NewRegion(Region region) {
    GdiLock lock = LockGdi();
    return AddObjectLocked(GdiObject{RegionData{std::move(region)}});
}

// A copy of the region behind a handle.
std::optional<Region> RegionOf(HRGN handle) {
    GdiLock lock = LockGdi();
    RegionData* r = FindDataLocked<RegionData>(handle);
    if (!r) return std::nullopt;
    return r->region;
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region(
        RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return NewRegion(RoundRectRegion(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
    GdiLock lock = LockGdi();
    RegionData* d = FindDataLocked<RegionData>(dest);
    RegionData* a = FindDataLocked<RegionData>(source1);
    RegionData* b = mode == RGN_COPY ? a : FindDataLocked<RegionData>(source2);
    if (!d || !a || !b) return RGN_ERROR;
    Region result = a->region;
    switch (mode) {
        case RGN_AND:
            result.Intersect(b->region);
            break;
        case RGN_OR:
            result.Union(b->region);
            break;
        case RGN_XOR:
            result.Xor(b->region);
            break;
        case RGN_DIFF:
            result.Subtract(b->region);
            break;
        case RGN_COPY:
            break;
        default:
            return RGN_ERROR;
    }
    d->region = std::move(result);
    return KindOf(d->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
    auto r = RegionOf(region);
    return r && r->Contains(x, y);
}

int GetRgnBox(HRGN region, RECT* box) {
    auto r = RegionOf(region);
    if (!r || !box) return RGN_ERROR;
    *box = r->Bounds();
    return KindOf(*r);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    GdiLock lock = LockGdi();
    RegionData* r = FindDataLocked<RegionData>(region);
    if (!r) return RGN_ERROR;
    r->region.Offset(dx, dy);
    return KindOf(r->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    auto ra = RegionOf(a), rb = RegionOf(b);
    return ra && rb && ra->Equals(*rb);
}

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) {
    auto r = RegionOf(region);
    auto d = Drawing::Begin(hdc, true);
    if (!r || !d) return FALSE;
    BrushData b = BrushOfLocked(brush);
    if (b.hollow) return TRUE;
    r->Offset(d->target.origin.x, d->target.origin.y);
    FillAreaLocked(d->target, *r, b.color);
    return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    std::unique_ptr<Region> shape;
    if (region) {
        GdiLock lock = LockGdi();
        GdiObject* o = FindObjectLocked(region);
        if (!o || !std::holds_alternative<RegionData>(o->data)) return 0;
        shape = std::make_unique<Region>(std::get<RegionData>(TakeObjectLocked(region)->data).region);
    }
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return 0;
    w->shape = std::move(shape);
    if (w->IsTopLevel()) BackendLocked().DesktopChanged();
    if (redraw) {
        if (w->parent) InvalidateParentAreaLocked(w, w->rect);
        InvalidateLocked(w, nullptr, true);
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
    Region shape;
    {
        TableLock lock = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w || !w->shape) return RGN_ERROR;
        shape = *w->shape;
    }
    GdiLock lock = LockGdi();
    RegionData* r = FindDataLocked<RegionData>(region);
    if (!r) return RGN_ERROR;
    r->region = shape;
    return KindOf(shape);
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    if (!region) return InvalidateRect(hwnd, nullptr, erase);
    auto r = RegionOf(region);
    if (!r) return FALSE;
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return FALSE;
    InvalidateLocked(w, &*r, erase != FALSE);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    if (!region) return ValidateRect(hwnd, nullptr);
    auto r = RegionOf(region);
    if (!r) return FALSE;
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return FALSE;
    w->update.Subtract(*r);
    return TRUE;
}
