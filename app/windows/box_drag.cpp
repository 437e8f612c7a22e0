#include "app/windows/box_drag.h"

#include <algorithm>

#include "platform/ui/windows.h"

namespace kestrova {

POINT CursorInClient(HWND window) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    return p;
}

bool InBox(const RECT& box, POINT p) {
    return p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
}

POINT ClampIntoBox(const RECT& box, POINT p) {
    return {std::clamp<int>(p.x, box.left, box.right - 1), std::clamp<int>(p.y, box.top, box.bottom - 1)};
}

}  // namespace kestrova
