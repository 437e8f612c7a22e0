#pragma once
// The vertical scroll bar a list box draws at the right edge of its client area: an arrow button at each
// end, the track between them, and a thumb whose length is the share of the items in view and whose place is
// the first item shown.

#include "platform/ui/types.h"

namespace kestrova::ui {

enum class ScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct ScrollBarGeometry {
    RECT lineUp;
    RECT lineDown;
    RECT track;  // between the arrows
    RECT thumb;  // empty when the track has no room for one
};

// The parts of a bar filling `bar`, for a list of `count` items showing `page` of them from `top`, which
// scrolls from 0 to `maxTop`.
ScrollBarGeometry LayOutScrollBar(RECT bar, int top, int maxTop, int page, int count);
ScrollPart HitScrollBar(const ScrollBarGeometry& bar, POINT point);
// The first item to show when the thumb's top edge is dragged to `thumbTop`.
int TopForThumb(const ScrollBarGeometry& bar, int thumbTop, int maxTop);
// Draws the bar, the part held down darker.
void PaintScrollBar(HDC hdc, const ScrollBarGeometry& bar, ScrollPart held);

}  // namespace kestrova::ui
