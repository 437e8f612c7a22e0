#include "platform/ui/backends/x11/x11_mirror.h"

#include <algorithm>
#include <bit>
#include <set>

#include "platform/ui/gdi_objects.h"
#include "platform/ui/surface.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {

struct X11Mirror::Wanted {
    HWND hwnd = nullptr;
    RECT rect{};
    bool visible = false;
    bool topmost = false;
    std::optional<Region> shape;
};

namespace {

constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                         KeyPressMask | KeyReleaseMask | StructureNotifyMask;

// X has no windows of no size: such a window is kept at 1 x 1 and not shown.
unsigned Extent(long length) {
    return unsigned(std::max(length, 1L));
}

bool SameShape(const std::optional<Region>& a, const std::optional<Region>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || a->Equals(*b);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT Clip(const RECT& r, int width, int height) {
    return RECT{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                std::min(r.bottom, height)};
}

}  // namespace

X11Mirror::X11Mirror(Display* display)
    : display_(display), root_(DefaultRootWindow(display)), gc_(XCreateGC(display, root_, 0, nullptr)) {
    // A cursor of one clear pixel stands for a hidden cursor: X has no "no cursor".
    char bits[1] = {0};
    Pixmap empty = XCreateBitmapFromData(display_, root_, bits, 1, 1);
    XColor black{};
    blank_ = XCreatePixmapCursor(display_, empty, empty, &black, &black, 0, 0);
    XFreePixmap(display_, empty);
}

X11Mirror::~X11Mirror() {
    for (auto& [hwnd, m] : windows_) XDestroyWindow(display_, m.xid);
    for (auto& [id, cursor] : shapes_) XFreeCursor(display_, cursor);
    XFreeCursor(display_, blank_);
    XFreeGC(display_, gc_);
    XSync(display_, False);
}

void X11Mirror::Reconcile() {
    std::vector<Wanted> wanted;
    HWND active;
    HCURSOR cursor;
    bool cursorHidden;
    {
        TableLock lock = LockTable();
        Desktop& d = DesktopLocked();
        for (HWND h : d.topLevels) {
            Window* w = FindWindowLocked(h);
            if (!w) continue;
            Wanted x;
            x.hwnd = h;
            x.rect = w->rect;
            x.visible = (w->style & WS_VISIBLE) && !w->iconic && w->Width() > 0 && w->Height() > 0;
            x.topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
            if (w->shape) x.shape = *w->shape;
            wanted.push_back(std::move(x));
        }
        active = d.active;
        cursor = d.cursor;
        cursorHidden = d.cursorCount < 0;
    }

    std::set<HWND> present;
    for (const Wanted& x : wanted) present.insert(x.hwnd);
    for (auto it = windows_.begin(); it != windows_.end();) {
        if (present.count(it->first)) {
            ++it;
            continue;
        }
        XDestroyWindow(display_, it->second.xid);
        if (focused_ == it->first) focused_ = nullptr;
        it = windows_.erase(it);
    }

    SetCursor(CursorFor(cursor, cursorHidden));
    std::vector<::Window> order;
    std::vector<bool> topmost;
    for (const Wanted& x : wanted) {
        auto [it, added] = windows_.try_emplace(x.hwnd);
        if (added) {
            it->second.xid = Create(x.rect);
            it->second.rect = x.rect;
        }
        Apply(it->second, x);
        if (it->second.mapped) {
            order.push_back(it->second.xid);
            topmost.push_back(x.topmost);
        }
    }
    Restack(order, topmost);

    auto it = windows_.find(active);
    if (active != focused_ && it != windows_.end() && it->second.mapped) {
        XSetInputFocus(display_, it->second.xid, RevertToPointerRoot, CurrentTime);
        focused_ = active;
    }
}

::Window X11Mirror::Create(const RECT& rect) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixmap = None;  // the surface paints every pixel; no flash of a background first
    a.event_mask = kEvents;
    a.cursor = cursor_;
    return XCreateWindow(display_, root_, rect.left, rect.top, Extent(rect.right - rect.left),
                         Extent(rect.bottom - rect.top), 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWBackPixmap | CWEventMask | CWCursor, &a);
}

void X11Mirror::Apply(Mirrored& m, const Wanted& x) {
    if (!SameRect(m.rect, x.rect)) {
        XMoveResizeWindow(display_, m.xid, x.rect.left, x.rect.top, Extent(x.rect.right - x.rect.left),
                          Extent(x.rect.bottom - x.rect.top));
        m.rect = x.rect;
    }
    if (!SameShape(m.shape, x.shape)) {
        if (x.shape) {
            std::vector<XRectangle> rects;
            for (const RECT& r : x.shape->Rects())
                rects.push_back(XRectangle{short(r.left), short(r.top), (unsigned short)(r.right - r.left),
                                           (unsigned short)(r.bottom - r.top)});
            XShapeCombineRectangles(display_, m.xid, ShapeBounding, 0, 0, rects.data(), int(rects.size()),
                                    ShapeSet, Unsorted);
        } else {
            XShapeCombineMask(display_, m.xid, ShapeBounding, 0, 0, None, ShapeSet);
        }
        m.shape = x.shape;
    }
    if (x.visible && !m.mapped) {
        XMapWindow(display_, m.xid);
        m.mapped = true;
        Paint(x.hwnd, RECT{0, 0, x.rect.right - x.rect.left, x.rect.bottom - x.rect.top});
    } else if (!x.visible && m.mapped) {
        XUnmapWindow(display_, m.xid);
        m.mapped = false;
    }
}

// `order` is ours, topmost first. It is applied when the display has our windows in another order, or when a
// window of another program lies above one of our topmost windows.
void X11Mirror::Restack(const std::vector<::Window>& order, const std::vector<bool>& topmost) {
    if (order.empty()) return;
    ::Window rootReturn, parentReturn, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, root_, &rootReturn, &parentReturn, &children, &count)) return;
    size_t topmostCount = size_t(std::count(topmost.begin(), topmost.end(), true));
    std::vector<::Window> actual;
    bool foreignAbove = false;
    for (unsigned i = count; i-- > 0 && !foreignAbove;) {
        ::Window c = children[i];
        if (std::find(order.begin(), order.end(), c) != order.end()) {
            actual.push_back(c);
        } else if (actual.size() < topmostCount && !IsOurs(c)) {
            XWindowAttributes a;
            foreignAbove = XGetWindowAttributes(display_, c, &a) && a.map_state == IsViewable;
        }
    }
    if (children) XFree(children);
    if (actual == order && !foreignAbove) return;
    XRaiseWindow(display_, order.front());
    std::vector<::Window> stack = order;
    XRestackWindows(display_, stack.data(), int(stack.size()));
}

void X11Mirror::SetCursor(Cursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    for (auto& [hwnd, m] : windows_) XDefineCursor(display_, m.xid, cursor);
}

Cursor X11Mirror::CursorFor(HCURSOR cursor, bool hidden) {
    if (hidden) return blank_;
    uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
    auto found = shapes_.find(id);
    if (found != shapes_.end()) return found->second;
    unsigned shape = XC_left_ptr;
    if (cursor == LoadCursorW(nullptr, IDC_IBEAM)) shape = XC_xterm;
    if (cursor == LoadCursorW(nullptr, IDC_WAIT)) shape = XC_watch;
    if (cursor == LoadCursorW(nullptr, IDC_CROSS)) shape = XC_crosshair;
    if (cursor == LoadCursorW(nullptr, IDC_SIZEALL)) shape = XC_fleur;
    if (cursor == LoadCursorW(nullptr, IDC_HAND)) shape = XC_hand2;
    return shapes_[id] = XCreateFontCursor(display_, shape);
}

void X11Mirror::Paint(HWND root, const RECT& area) {
    auto it = windows_.find(root);
    if (it == windows_.end() || !it->second.mapped) return;
    std::vector<uint32_t> pixels;
    RECT r;
    {
        TableLock table = LockTable();
        Window* w = FindWindowLocked(root);
        if (!w || !w->surface) return;
        GdiLock gdi = LockGdi();
        const Surface& s = *w->surface;
        r = Clip(area, s.Width(), s.Height());
        if (RectEmpty(r)) return;
        size_t width = size_t(r.right - r.left);
        pixels.resize(width * size_t(r.bottom - r.top));
        for (int y = r.top; y < r.bottom; ++y)
            std::copy_n(s.Pixels() + size_t(y) * size_t(s.Width()) + size_t(r.left), width,
                        pixels.data() + size_t(y - r.top) * width);
    }
    int width = r.right - r.left, height = r.bottom - r.top;
    Screen* screen = DefaultScreenOfDisplay(display_);
    XImage* image = XCreateImage(
        display_, DefaultVisualOfScreen(screen), unsigned(DefaultDepthOfScreen(screen)), ZPixmap, 0,
        reinterpret_cast<char*>(pixels.data()), unsigned(width), unsigned(height), 32, width * 4);
    if (!image) return;
    // The surface's words are in this machine's byte order; Xlib swaps them if the server wants another.
    image->byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    XPutImage(display_, it->second.xid, gc_, image, 0, 0, r.left, r.top, unsigned(width), unsigned(height));
    image->data = nullptr;  // the pixels belong to the vector
    XDestroyImage(image);
}

void X11Mirror::PaintExposed(::Window xid, const RECT& area) {
    for (auto& [hwnd, m] : windows_)
        if (m.xid == xid) return Paint(hwnd, area);
}

std::map<HWND, ::Window> X11Mirror::XWindows() const {
    std::map<HWND, ::Window> xids;
    for (const auto& [hwnd, m] : windows_) xids[hwnd] = m.xid;
    return xids;
}

bool X11Mirror::IsOurs(::Window xid) const {
    return std::any_of(windows_.begin(), windows_.end(), [&](const auto& e) { return e.second.xid == xid; });
}

}  // namespace kestrova::ui
