#include "platform/ui/listbox_scroll_bar.h"

#include <algorithm>

#include "platform/ui/gdi.h"

namespace kestrova::ui {
namespace {

constexpr int kMinThumb = 8;

constexpr COLORREF kTrack = RGB(240, 240, 240);
constexpr COLORREF kButtonHeld = RGB(204, 204, 204);
constexpr COLORREF kArrow = RGB(96, 96, 96);
constexpr COLORREF kThumb = RGB(205, 205, 205);
constexpr COLORREF kThumbHeld = RGB(166, 166, 166);

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void Fill(HDC hdc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
}

// A filled triangle pointing up or down, centred in `box`, drawn as rows narrowing to its tip.
void PaintArrow(HDC hdc, const RECT& box, bool up, bool held) {
    Fill(hdc, box, held ? kButtonHeld : kTrack);
    int size = std::min(box.right - box.left, box.bottom - box.top) / 4;
    int cx = (box.left + box.right) / 2;
    int tipY = (box.top + box.bottom) / 2 + (up ? -size / 2 : size / 2);
    HBRUSH brush = CreateSolidBrush(kArrow);
    for (int row = 0; row < size; ++row) {
        int y = up ? tipY + row : tipY - row;
        RECT line{cx - row, y, cx + row + 1, y + 1};
        FillRect(hdc, &line, brush);
    }
    DeleteObject(brush);
}

}  // namespace

ScrollBarGeometry LayOutScrollBar(RECT bar, int top, int maxTop, int page, int count) {
    ScrollBarGeometry g;
    int height = bar.bottom - bar.top;
    int arrow = std::min(bar.right - bar.left, height / 2);
    g.lineUp = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
    g.lineDown = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    g.track = RECT{bar.left, g.lineUp.bottom, bar.right, g.lineDown.top};
    int trackLength = g.track.bottom - g.track.top;
    if (trackLength < kMinThumb || count <= 0) {
        g.thumb = RECT{bar.left, g.track.top, bar.left, g.track.top};
        return g;
    }
    int length =
        std::clamp(int(int64_t(trackLength) * std::min(page, count) / count), kMinThumb, trackLength);
    int offset = maxTop > 0 ? int(int64_t(trackLength - length) * top / maxTop) : 0;
    g.thumb = RECT{bar.left, g.track.top + offset, bar.right, g.track.top + offset + length};
    return g;
}

ScrollPart HitScrollBar(const ScrollBarGeometry& bar, POINT point) {
    if (Contains(bar.lineUp, point)) return ScrollPart::LineUp;
    if (Contains(bar.lineDown, point)) return ScrollPart::LineDown;
    if (Contains(bar.thumb, point)) return ScrollPart::Thumb;
    if (!Contains(bar.track, point)) return ScrollPart::None;
    return point.y < bar.thumb.top ? ScrollPart::PageUp : ScrollPart::PageDown;
}

int TopForThumb(const ScrollBarGeometry& bar, int thumbTop, int maxTop) {
    int travel = (bar.track.bottom - bar.track.top) - (bar.thumb.bottom - bar.thumb.top);
    if (travel <= 0 || maxTop <= 0) return 0;
    int offset = std::clamp(thumbTop - bar.track.top, 0, travel);
    // Rounded to the nearest item, so the thumb lands where it is let go.
    return int((int64_t(offset) * maxTop + travel / 2) / travel);
}

void PaintScrollBar(HDC hdc, const ScrollBarGeometry& bar, ScrollPart held) {
    Fill(hdc, bar.track, kTrack);
    PaintArrow(hdc, bar.lineUp, true, held == ScrollPart::LineUp);
    PaintArrow(hdc, bar.lineDown, false, held == ScrollPart::LineDown);
    if (bar.thumb.bottom > bar.thumb.top) {
        RECT inner{bar.thumb.left + 2, bar.thumb.top, bar.thumb.right - 2, bar.thumb.bottom};
        Fill(hdc, inner, held == ScrollPart::Thumb ? kThumbHeld : kThumb);
    }
}

}  // namespace kestrova::ui
