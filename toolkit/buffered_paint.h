#pragma once
// Every toolkit control paints its whole client area, whatever needs painting, into an off-screen bitmap of
// the client's size and copies it to the window at once, so the user never sees a half-drawn control. The
// device contexts and the bitmap are made anew for each paint.

#include <functional>

#include "platform/ui/types.h"

namespace kestrova::toolkit {

// Draws the whole client area (`width` x `height`) into `dc`, the off-screen context.
using PaintFunction = std::function<void(HDC dc, int width, int height)>;

// For WM_PAINT: between BeginPaint and EndPaint.
void PaintBuffered(HWND control, const PaintFunction& paint);
// Outside WM_PAINT, for a control that must show a change before its next paint.
void PaintBufferedNow(HWND control, const PaintFunction& paint);
// WM_ENABLE of a control that shows its disabled state: being disabled, it paints at once, so the user sees
// it greyed before anything else happens; either way it is then invalidated.
void RepaintForEnable(HWND control, bool enabled, const PaintFunction& paint);

}  // namespace kestrova::toolkit
