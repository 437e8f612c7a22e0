#pragma once
// The X windows that show the layer's top-level windows, kept in line with the window table. Used by the
// backend's own thread only.

#include <map>
#include <optional>

#include "platform/ui/backends/x11/xlib.h"
#include "platform/ui/region.h"
#include "platform/ui/types.h"

namespace kestrova::ui {

class X11Mirror {
public:
    explicit X11Mirror(Display* display);
    ~X11Mirror();
    X11Mirror(const X11Mirror&) = delete;
    X11Mirror& operator=(const X11Mirror&) = delete;

    // Creates, destroys, moves, reshapes, maps, unmaps and restacks X windows as the table now has them;
    // gives the keyboard focus to the active window and sets the cursor.
    void Reconcile();
    // The next Reconcile gives the keyboard focus to the active window again, even if the layer's activation
    // did not change: a click on one of our windows after another program had the focus.
    void Refocus() { focused_ = nullptr; }
    // Copies `area` (window coordinates) of the window's surface to its X window.
    void Paint(HWND root, const RECT& area);
    void PaintExposed(::Window xid, const RECT& area);

    std::map<HWND, ::Window> XWindows() const;
    bool IsOurs(::Window xid) const;

private:
    struct Mirrored {
        ::Window xid = 0;
        RECT rect{};
        bool mapped = false;
        std::optional<Region> shape;
    };
    struct Wanted;

    ::Window Create(const RECT& rect);
    void Apply(Mirrored& m, const Wanted& wanted);
    void Restack(const std::vector<::Window>& order, const std::vector<bool>& topmost);
    void SetCursor(Cursor cursor);
    Cursor CursorFor(HCURSOR cursor, bool hidden);

    Display* display_;
    ::Window root_;
    GC gc_;
    std::map<HWND, Mirrored> windows_;
    HWND focused_ = nullptr;
    Cursor cursor_ = 0;
    Cursor blank_ = 0;
    std::map<uintptr_t, Cursor> shapes_;
};

}  // namespace kestrova::ui
