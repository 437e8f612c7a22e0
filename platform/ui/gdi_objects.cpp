#include "platform/ui/gdi_objects.h"

#include <cstring>

#include "platform/ui/handle_table.h"

namespace kestrova::ui {
namespace {

struct GdiTables {
    std::recursive_mutex mutex;
    HandleTable<GdiObject> objects;
    HandleTable<DeviceContext> contexts;
};

GdiTables& Tables() {
    static GdiTables* tables = new GdiTables;
    return *tables;
}

HGDIOBJ ToHandle(uintptr_t value) {
    return reinterpret_cast<HGDIOBJ>(value);
}
uintptr_t ToValue(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}

GdiObject StockBrush(COLORREF color, bool hollow = false) {
    return GdiObject{BrushData{color, hollow}, true};
}

GdiObject StockPen(int style, COLORREF color) {
    return GdiObject{PenData{style, 1, color}, true};
}

GdiObject StockFont() {
    FontData font;
    font.log.lfHeight = 13;
    font.log.lfWeight = FW_NORMAL;
    std::wcscpy(font.log.lfFaceName, L"Tahoma");
    return GdiObject{font, true};
}

}  // namespace

GdiLock LockGdi() {
    return GdiLock(Tables().mutex);
}

GdiObject* FindObjectLocked(HGDIOBJ handle) {
    return Tables().objects.Find(ToValue(handle));
}

HGDIOBJ AddObjectLocked(GdiObject object) {
    return ToHandle(Tables().objects.Add(std::make_unique<GdiObject>(std::move(object))));
}

std::unique_ptr<GdiObject> TakeObjectLocked(HGDIOBJ handle) {
    GdiObject* o = FindObjectLocked(handle);
    if (!o || o->stock) return nullptr;
    return Tables().objects.Remove(ToValue(handle));
}

DeviceContext* FindDcLocked(HDC hdc) {
    return Tables().contexts.Find(ToValue(hdc));
}

HDC AddDcLocked(std::unique_ptr<DeviceContext> dc) {
    return reinterpret_cast<HDC>(Tables().contexts.Add(std::move(dc)));
}

bool RemoveDcLocked(HDC hdc) {
    return Tables().contexts.Remove(ToValue(hdc)) != nullptr;
}

HGDIOBJ StockObjectLocked(int which) {
    static HGDIOBJ stock[DEFAULT_GUI_FONT + 1] = {};
    if (which < 0 || which > DEFAULT_GUI_FONT) return nullptr;
    if (!stock[WHITE_BRUSH]) {
        stock[WHITE_BRUSH] = AddObjectLocked(StockBrush(RGB(255, 255, 255)));
        stock[LTGRAY_BRUSH] = AddObjectLocked(StockBrush(RGB(192, 192, 192)));
        stock[GRAY_BRUSH] = AddObjectLocked(StockBrush(RGB(128, 128, 128)));
        stock[DKGRAY_BRUSH] = AddObjectLocked(StockBrush(RGB(64, 64, 64)));
        stock[BLACK_BRUSH] = AddObjectLocked(StockBrush(RGB(0, 0, 0)));
        stock[NULL_BRUSH] = AddObjectLocked(StockBrush(0, true));
        stock[WHITE_PEN] = AddObjectLocked(StockPen(PS_SOLID, RGB(255, 255, 255)));
        stock[BLACK_PEN] = AddObjectLocked(StockPen(PS_SOLID, RGB(0, 0, 0)));
        stock[NULL_PEN] = AddObjectLocked(StockPen(PS_NULL, 0));
        stock[SYSTEM_FONT] = AddObjectLocked(StockFont());
        stock[DEFAULT_GUI_FONT] = AddObjectLocked(StockFont());
    }
    return stock[which];
}

HBITMAP NewBitmapLocked(int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    return AddObjectLocked(GdiObject{BitmapData{std::make_shared<Surface>(width, height)}});
}

BrushData BrushOfLocked(HBRUSH brush) {
    // A small number is a system colour index + 1, as class backgrounds give it.
    if (ToValue(brush) > 0 && ToValue(brush) <= 31)
        return BrushData{GetSysColor(int(ToValue(brush)) - 1), false};
    if (BrushData* b = FindDataLocked<BrushData>(brush)) return *b;
    return BrushData{0, true};
}

PenData PenOfLocked(const DeviceContext& dc) {
    if (PenData* p = FindDataLocked<PenData>(dc.pen)) return *p;
    return PenData{PS_SOLID, 1, 0};
}

FontData* FontOfLocked(const DeviceContext& dc) {
    if (FontData* f = FindDataLocked<FontData>(dc.font)) return f;
    return FindDataLocked<FontData>(StockObjectLocked(SYSTEM_FONT));
}

std::optional<DrawTarget> TargetLocked(DeviceContext& dc, bool forWriting) {
    DrawTarget t;
    if (dc.window) {
        if (!dc.surface) return std::nullopt;
        t.surface = dc.surface.get();
        t.origin = dc.origin;
        t.area = dc.visible;
        t.area.Intersect(Region(RECT{0, 0, t.surface->Width(), t.surface->Height()}));
    } else {
        BitmapData* b = FindDataLocked<BitmapData>(dc.bitmap);
        if (!b) return std::nullopt;
        if (forWriting && b->pixels.use_count() > 1) b->pixels = b->pixels->Clone();
        t.surface = b->pixels.get();
        t.area = Region(RECT{0, 0, t.surface->Width(), t.surface->Height()});
    }
    if (dc.clip) {
        Region clip = *dc.clip;
        clip.Offset(t.origin.x, t.origin.y);
        t.area.Intersect(clip);
    }
    return t;
}

pixman_color_t ToPixmanColor(COLORREF c) {
    auto wide = [](uint8_t v) { return uint16_t(v * 257); };
    return pixman_color_t{wide(GetRValue(c)), wide(GetGValue(c)), wide(GetBValue(c)), 0xFFFF};
}

void FillAreaLocked(DrawTarget& target, const Region& area, COLORREF color) {
    Region part = area;
    part.Intersect(target.area);
    int n = 0;
    pixman_box32_t* boxes = pixman_region32_rectangles(part.Raw(), &n);
    if (n == 0) return;
    pixman_color_t c = ToPixmanColor(color);
    pixman_image_fill_boxes(PIXMAN_OP_SRC, target.surface->Image(), &c, n, boxes);
}

}  // namespace kestrova::ui

using namespace kestrova::ui;

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return RGB(0, 0, 0);
        case COLOR_HIGHLIGHT:
            return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT:
            return RGB(255, 255, 255);
        case COLOR_GRAYTEXT:
            return RGB(109, 109, 109);
        case COLOR_BTNFACE:
            return RGB(240, 240, 240);
    }
    return RGB(240, 240, 240);
}

HBRUSH GetSysColorBrush(int index) {
    return reinterpret_cast<HBRUSH>(uintptr_t(index + 1));
}

HGDIOBJ GetStockObject(int which) {
    GdiLock lock = LockGdi();
    return StockObjectLocked(which);
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiLock lock = LockGdi();
    GdiObject* o = FindObjectLocked(object);
    if (!o) return FALSE;
    if (!o->stock) TakeObjectLocked(object);
    return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, void* out) {
    GdiLock lock = LockGdi();
    GdiObject* o = FindObjectLocked(object);
    if (!o) return 0;
    auto give = [&](const auto& value) {
        if (!out) return int(sizeof value);
        if (size < int(sizeof value)) return 0;
        std::memcpy(out, &value, sizeof value);
        return int(sizeof value);
    };
    if (auto* b = std::get_if<BitmapData>(&o->data)) {
        BITMAP info;
        info.bmWidth = b->pixels->Width();
        info.bmHeight = b->pixels->Height();
        info.bmWidthBytes = info.bmWidth * 4;
        return give(info);
    }
    if (auto* b = std::get_if<BrushData>(&o->data)) {
        LOGBRUSH info;
        info.lbStyle = b->hollow ? 1 : 0;
        info.lbColor = b->color;
        return give(info);
    }
    if (auto* p = std::get_if<PenData>(&o->data)) {
        LOGPEN info;
        info.lopnStyle = UINT(p->style);
        info.lopnWidth.x = p->width;
        info.lopnColor = p->color;
        return give(info);
    }
    if (auto* f = std::get_if<FontData>(&o->data)) return give(f->log);
    return 0;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiLock lock = LockGdi();
    return AddObjectLocked(GdiObject{BrushData{color & 0xFFFFFF, false}});
}

HPEN CreatePen(int style, int width, COLORREF color) {
    GdiLock lock = LockGdi();
    return AddObjectLocked(GdiObject{PenData{style, width < 1 ? 1 : width, color & 0xFFFFFF}});
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    GdiLock lock = LockGdi();
    HBITMAP bitmap = NewBitmapLocked(width, height);
    if (bitmap) {
        // Fresh bitmaps of the platform are black.
        Surface& s = *FindDataLocked<BitmapData>(bitmap)->pixels;
        std::fill(s.Pixels(), s.Pixels() + size_t(s.Width()) * size_t(s.Height()), 0xFF000000u);
    }
    return bitmap;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || bitsPerPixel != 32) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, width, height);
    if (!bitmap || !bits) return bitmap;
    GdiLock lock = LockGdi();
    Surface& s = *FindDataLocked<BitmapData>(bitmap)->pixels;
    const uint32_t* in = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) s.Pixels()[i] = 0xFF000000u | in[i];
    return bitmap;
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font) return nullptr;
    GdiLock lock = LockGdi();
    FontData data;
    data.log = *font;
    data.log.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return AddObjectLocked(GdiObject{data});
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const wchar_t* faceName) {
    LOGFONTW log;
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = uint8_t(italic);
    log.lfUnderline = uint8_t(underline);
    log.lfStrikeOut = uint8_t(strikeOut);
    log.lfCharSet = uint8_t(charSet);
    log.lfOutPrecision = uint8_t(outPrecision);
    log.lfClipPrecision = uint8_t(clipPrecision);
    log.lfQuality = uint8_t(quality);
    log.lfPitchAndFamily = uint8_t(pitchAndFamily);
    if (faceName) std::wcsncpy(log.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&log);
}
