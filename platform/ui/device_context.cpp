// Device contexts: over a window (clipped to what of it shows) or over a memory bitmap, and their state.

#include <algorithm>

#include "platform/ui/backend.h"
#include "platform/ui/gdi_objects.h"
#include "platform/ui/window_tree.h"

namespace kestrova::ui {
namespace {

// The part of the top-level surface that `w` may draw on, and where its client origin lies on it.
Region DrawableAreaLocked(Window* w, POINT* origin) {
    std::vector<Window*> chain;
    for (Window* a = w; a; a = FindWindowLocked(a->parent)) chain.push_back(a);
    Window* root = chain.back();
    *origin = POINT{0, 0};
    if (!IsShownLocked(w) || !root->surface) return Region();
    Region area(RECT{0, 0, root->Width(), root->Height()});
    if (root->shape) area.Intersect(*root->shape);
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) {
        Window* c = *it;
        origin->x += c->rect.left;
        origin->y += c->rect.top;
        area.Intersect(Region(RECT{origin->x, origin->y, origin->x + c->Width(), origin->y + c->Height()}));
        if (c->shape) {
            Region shape = *c->shape;
            shape.Offset(origin->x, origin->y);
            area.Intersect(shape);
        }
    }
    auto cutOut = [&](Window* other, POINT base) {
        if (!other || !(other->style & WS_VISIBLE)) return;
        Region covered(RECT{0, 0, other->Width(), other->Height()});
        if (other->shape) covered.Intersect(*other->shape);
        covered.Offset(base.x + other->rect.left, base.y + other->rect.top);
        area.Subtract(covered);
    };
    if (w->style & WS_CLIPCHILDREN)
        for (HWND c : w->children) cutOut(FindWindowLocked(c), *origin);
    if ((w->style & WS_CLIPSIBLINGS) && w->parent) {
        POINT parentOrigin{origin->x - w->rect.left, origin->y - w->rect.top};
        for (HWND s : FindWindowLocked(w->parent)->children) {
            if (s == w->handle) break;  // the ones before it lie above it
            cutOut(FindWindowLocked(s), parentOrigin);
        }
    }
    return area;
}

void SetDefaultsLocked(DeviceContext& dc) {
    dc.brush = StockObjectLocked(WHITE_BRUSH);
    dc.pen = StockObjectLocked(BLACK_PEN);
    dc.font = StockObjectLocked(SYSTEM_FONT);
}

HBITMAP StockBitmapLocked() {
    static HBITMAP stock = nullptr;
    if (!stock) {
        stock = NewBitmapLocked(1, 1);
        FindObjectLocked(stock)->stock = true;
    }
    return stock;
}

HDC MemoryDcLocked() {
    auto dc = std::make_unique<DeviceContext>();
    SetDefaultsLocked(*dc);
    dc->bitmap = StockBitmapLocked();
    return AddDcLocked(std::move(dc));
}

// A context over `hwnd`, clipped further to `limit` (client coordinates) when given.
HDC WindowDc(HWND hwnd, const Region* limit) {
    TableLock table = LockTable();
    Window* w = FindWindowLocked(hwnd);
    if (!w) return nullptr;
    auto dc = std::make_unique<DeviceContext>();
    dc->window = hwnd;
    dc->visible = DrawableAreaLocked(w, &dc->origin);
    if (limit) {
        Region l = *limit;
        l.Offset(dc->origin.x, dc->origin.y);
        dc->visible.Intersect(l);
    }
    dc->surface = RootLocked(w)->surface;
    GdiLock lock = LockGdi();
    SetDefaultsLocked(*dc);
    return AddDcLocked(std::move(dc));
}

template <class Value>
Value Swap(HDC hdc, Value DeviceContext::*field, Value value, Value fallback) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return fallback;
    Value old = dc->*field;
    dc->*field = value;
    return old;
}

template <class Value>
Value Read(HDC hdc, Value DeviceContext::*field, Value fallback) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    return dc ? dc->*field : fallback;
}

int RegionKind(const Region& r) {
    if (r.Empty()) return NULLREGION;
    return r.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

HDC GetDC(HWND hwnd) {
    if (!hwnd) {
        GdiLock lock = LockGdi();
        return MemoryDcLocked();
    }
    return WindowDc(hwnd, nullptr);
}

int ReleaseDC(HWND, HDC hdc) {
    HWND window = nullptr;
    RECT drawable{};
    {
        GdiLock lock = LockGdi();
        if (DeviceContext* dc = FindDcLocked(hdc); dc && dc->window) {
            window = dc->window;
            drawable = dc->visible.Bounds();
        }
        if (!RemoveDcLocked(hdc)) return 0;
    }
    // What was drawn through a window's context reaches the display when the context is given back (after
    // WM_PAINT, or after drawing through GetDC); the table is locked only after the GDI lock is let go.
    if (window && !RectEmpty(drawable)) NotifySurfaceChanged(window, drawable);
    return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    Region update;
    bool erase;
    {
        TableLock table = LockTable();
        Window* w = FindWindowLocked(hwnd);
        if (!w) return nullptr;
        update = w->update;
        erase = w->eraseNeeded;
        w->update.Clear();
        w->eraseNeeded = false;
    }
    HDC hdc = WindowDc(hwnd, &update);
    PAINTSTRUCT ps;
    ps.hdc = hdc;
    ps.rcPaint = update.Bounds();
    ps.fErase = FALSE;
    if (hdc && erase)
        ps.fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    if (paint) *paint = ps;
    return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (!paint) return FALSE;
    ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

HDC CreateCompatibleDC(HDC) {
    GdiLock lock = LockGdi();
    return MemoryDcLocked();
}

BOOL DeleteDC(HDC hdc) {
    GdiLock lock = LockGdi();
    return RemoveDcLocked(hdc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    GdiObject* o = FindObjectLocked(object);
    if (!dc || !o) return nullptr;
    auto swap = [&](HGDIOBJ& field) {
        HGDIOBJ old = field;
        field = object;
        return old;
    };
    if (std::holds_alternative<BitmapData>(o->data)) return dc->window ? nullptr : swap(dc->bitmap);
    if (std::holds_alternative<BrushData>(o->data)) return swap(dc->brush);
    if (std::holds_alternative<PenData>(o->data)) return swap(dc->pen);
    if (std::holds_alternative<FontData>(o->data)) return swap(dc->font);
    if (auto* r = std::get_if<RegionData>(&o->data)) {
        dc->clip = r->region;
        return reinterpret_cast<HGDIOBJ>(uintptr_t(RegionKind(r->region)));
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN:
            return dc->pen;
        case OBJ_BRUSH:
            return dc->brush;
        case OBJ_FONT:
            return dc->font;
        case OBJ_BITMAP:
            return dc->bitmap;
    }
    return nullptr;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return Swap(hdc, &DeviceContext::textColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) {
    return Read(hdc, &DeviceContext::textColor, CLR_INVALID);
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return Swap(hdc, &DeviceContext::backgroundColor, color & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) {
    return Read(hdc, &DeviceContext::backgroundColor, CLR_INVALID);
}
int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return Swap(hdc, &DeviceContext::backgroundMode, mode, 0);
}
int GetBkMode(HDC hdc) {
    return Read(hdc, &DeviceContext::backgroundMode, 0);
}
int SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return Swap(hdc, &DeviceContext::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC hdc) {
    return Read(hdc, &DeviceContext::stretchMode, 0);
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous) {
    POINT old = Swap(hdc, &DeviceContext::brushOrigin, POINT{x, y}, POINT{});
    if (previous) *previous = old;
    return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN region) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return RGN_ERROR;
    if (!region) {
        dc->clip.reset();
        return SIMPLEREGION;
    }
    RegionData* r = FindDataLocked<RegionData>(region);
    if (!r) return RGN_ERROR;
    dc->clip = r->region;
    return RegionKind(r->region);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return RGN_ERROR;
    Region limit(RECT{left, top, right, bottom});
    if (dc->clip)
        dc->clip->Intersect(limit);
    else
        dc->clip = limit;
    return RegionKind(*dc->clip);
}
