#pragma once
// The tables behind GDI handles: objects (bitmaps, brushes, pens, fonts, regions) and device contexts. One
// lock guards both; code that also needs the window table takes that first.

#include <memory>
#include <mutex>
#include <optional>
#include <variant>

#include "platform/ui/gdi.h"
#include "platform/ui/region.h"
#include "platform/ui/surface.h"

namespace kestrova::ui {

class FontFace;

struct BitmapData {
    std::shared_ptr<Surface> pixels;  // may be shared with the resource cache until drawn into
};
struct BrushData {
    COLORREF color = 0;
    bool hollow = false;
};
struct PenData {
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};
struct FontData {
    LOGFONTW log;
    std::shared_ptr<FontFace> face;  // found on first use
};
struct RegionData {
    Region region;
};

struct GdiObject {
    std::variant<BitmapData, BrushData, PenData, FontData, RegionData> data;
    bool stock = false;
};

struct DeviceContext {
    HWND window = nullptr;             // set for window contexts
    std::shared_ptr<Surface> surface;  // a window context's top-level surface
    POINT origin;                      // where the context's (0, 0) lies on `surface`
    Region visible;                    // a window context's drawable area, in surface coordinates
    HBITMAP bitmap = nullptr;          // memory contexts: the selected bitmap
    std::optional<Region> clip;        // SelectClipRgn, in context coordinates
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF backgroundColor = 0xFFFFFF;
    int backgroundMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    POINT position;
    POINT brushOrigin;
};

using GdiLock = std::unique_lock<std::recursive_mutex>;
GdiLock LockGdi();

// Call these with the GDI lock held.
GdiObject* FindObjectLocked(HGDIOBJ handle);
HGDIOBJ AddObjectLocked(GdiObject object);
template <class Data>
Data* FindDataLocked(HGDIOBJ handle) {
    GdiObject* o = FindObjectLocked(handle);
    return o ? std::get_if<Data>(&o->data) : nullptr;
}
// Takes the object out of the table (its handle goes stale); null for a stale handle or a stock object.
std::unique_ptr<GdiObject> TakeObjectLocked(HGDIOBJ handle);
DeviceContext* FindDcLocked(HDC hdc);
HDC AddDcLocked(std::unique_ptr<DeviceContext> dc);
bool RemoveDcLocked(HDC hdc);

// The stock object `which` (GetStockObject's numbers).
HGDIOBJ StockObjectLocked(int which);

// A 32-bit bitmap object of that size, white, or null for an impossible size.
HBITMAP NewBitmapLocked(int width, int height);

// The object of a context's kind, falling back to its default when the selected one has gone.
BrushData BrushOfLocked(HBRUSH brush);
PenData PenOfLocked(const DeviceContext& dc);
FontData* FontOfLocked(const DeviceContext& dc);

// Where a context draws: its pixels and the area of them it may touch, in surface coordinates. For a
// memory context the bitmap is made its own first when `forWriting`.
struct DrawTarget {
    Surface* surface = nullptr;
    POINT origin;
    Region area;
};
std::optional<DrawTarget> TargetLocked(DeviceContext& dc, bool forWriting);

// 0x00BBGGRR as the surface's 0xFFRRGGBB and back.
inline uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | (uint32_t(c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF FromPixel(uint32_t p) {
    return COLORREF(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
}
pixman_color_t ToPixmanColor(COLORREF c);

// Fills `area` (surface coordinates) of the target with a colour.
void FillAreaLocked(DrawTarget& target, const Region& area, COLORREF color);

}  // namespace kestrova::ui
