#include "toolkit/buffered_paint.h"

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/gdi_object.h"

namespace kestrova::toolkit {
namespace {

void PaintThrough(HWND control, HDC windowDc, const PaintFunction& paint) {
    RECT client;
    GetClientRect(control, &client);
    const int width = client.right, height = client.bottom;
    HDC offscreen = CreateCompatibleDC(windowDc);
    {
        OwnedGdiObject bitmap(CreateCompatibleBitmap(windowDc, width, height));
        SelectedObject selected(offscreen, bitmap.get());
        paint(offscreen, width, height);
        BitBlt(windowDc, 0, 0, width, height, offscreen, 0, 0, SRCCOPY);
    }
    DeleteDC(offscreen);
}

}  // namespace

void PaintBuffered(HWND control, const PaintFunction& paint) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(control, &ps);
    if (dc) PaintThrough(control, dc, paint);
    EndPaint(control, &ps);
}

void PaintBufferedNow(HWND control, const PaintFunction& paint) {
    if (HDC dc = GetDC(control)) {
        PaintThrough(control, dc, paint);
        ReleaseDC(control, dc);
    }
}

void RepaintForEnable(HWND control, bool enabled, const PaintFunction& paint) {
    if (!enabled) PaintBufferedNow(control, paint);
    InvalidateRect(control, nullptr, FALSE);
}

}  // namespace kestrova::toolkit
