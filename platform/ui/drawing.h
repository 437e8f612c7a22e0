#pragma once
// One drawing call's hold on its device context: the GDI lock, the context and where it draws.

#include <optional>

#include "platform/ui/gdi_objects.h"

namespace kestrova::ui {

struct Drawing {
    // Null when `hdc` is stale or has nothing to draw on.
    static std::optional<Drawing> Begin(HDC hdc, bool forWriting);

    // A rectangle of the context's coordinates on the surface.
    Region OnSurface(const RECT& r) const;
    void Fill(const RECT& r, COLORREF color);
    // One pixel, when it lies in the drawable area.
    void Plot(int x, int y, COLORREF color);

    GdiLock lock;
    DeviceContext* dc = nullptr;
    DrawTarget target;
};

}  // namespace kestrova::ui
