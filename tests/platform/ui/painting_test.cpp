#include <gtest/gtest.h>

#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

// Paints its whole client area in one colour, and records what it was asked to paint.
struct Painter {
    explicit Painter(COLORREF color) : color(color) {}
    COLORREF color;
    std::vector<RECT> painted;
    std::optional<LRESULT> operator()(HWND h, UINT m, WPARAM, LPARAM) {
        if (m != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(h, &ps);
        painted.push_back(ps.rcPaint);
        RECT all;
        GetClientRect(h, &all);
        HBRUSH b = CreateSolidBrush(color);
        FillRect(hdc, &all, b);
        DeleteObject(b);
        EndPaint(h, &ps);
        return 0;
    }
};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using PaintingTest = UiTest;

TEST_F(PaintingTest, PaintComesWhenNothingElseIsQueuedAndIsClippedToTheUpdate) {
    TestWindow& w = Make("w", nullptr, WS_POPUP, {0, 0, 100, 100});
    Painter painter{kRed};
    std::vector<UINT> order;
    w.answer = [&](HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_PAINT || m == WM_USER) order.push_back(m);
        return painter(h, m, wp, lp);
    };
    PostMessageW(w.hwnd, WM_USER, 0, 0);
    PumpMessages();
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_PAINT}));
    EXPECT_EQ(ReadPixel(w.hwnd, 50, 50), kRed);
    EXPECT_EQ(PumpMessages().dispatched, 0);  // painted: no more WM_PAINT

    painter.color = kBlue;
    RECT part{10, 10, 20, 20};
    InvalidateRect(w.hwnd, &part, FALSE);
    InvalidateRect(w.hwnd, &part, FALSE);  // the same area twice is painted once
    PumpMessages();
    ASSERT_EQ(painter.painted.size(), 2u);
    EXPECT_TRUE(SameRect(painter.painted[1], part));
    EXPECT_EQ(ReadPixel(w.hwnd, 15, 15), kBlue);
    EXPECT_EQ(ReadPixel(w.hwnd, 25, 25), kRed);  // outside the update region nothing changed

    InvalidateRect(w.hwnd, nullptr, FALSE);
    ValidateRect(w.hwnd, nullptr);
    EXPECT_EQ(PumpMessages().dispatched, 0);
    InvalidateRect(w.hwnd, nullptr, FALSE);
    UpdateWindow(w.hwnd);  // at once, not through the queue
    EXPECT_EQ(painter.painted.size(), 3u);
}

TEST_F(PaintingTest, ChildrenPaintInsideTheirParentUnlessClipped) {
    TestWindow& parent = Make("parent", nullptr, WS_POPUP, {0, 0, 100, 100});
    TestWindow& child = Make("child", parent.hwnd, WS_CHILD, {20, 20, 200, 40});
    Painter parentPainter{kWhite}, childPainter{kBlue};
    parent.answer = std::ref(parentPainter);
    child.answer = std::ref(childPainter);
    PumpMessages();
    EXPECT_EQ(ReadPixel(parent.hwnd, 30, 30), kBlue);
    EXPECT_EQ(ReadPixel(child.hwnd, 79, 10), kBlue);
    EXPECT_EQ(ReadPixel(child.hwnd, 80, 10), CLR_INVALID);  // beyond the parent's edge
    // A parent that clips its children does not paint over them when it repaints alone.
    SetWindowLongPtrW(parent.hwnd, GWL_STYLE, GetWindowLongPtrW(parent.hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
    parentPainter.color = kRed;
    InvalidateRect(parent.hwnd, nullptr, FALSE);
    PumpMessages();
    EXPECT_EQ(childPainter.painted.size(), 1u);
    EXPECT_EQ(ReadPixel(parent.hwnd, 30, 30), kBlue);
    EXPECT_EQ(ReadPixel(parent.hwnd, 10, 10), kRed);
    // Hiding the child uncovers its parent, which repaints there.
    ShowWindow(child.hwnd, SW_HIDE);
    PumpMessages();
    EXPECT_EQ(ReadPixel(parent.hwnd, 30, 30), kRed);
}

TEST_F(PaintingTest, RoundedRegionClipsPaintingAndClicksFallThroughItsCorners) {
    TestWindow& below = Make("below", nullptr, WS_POPUP, {0, 0, 200, 200});
    TestWindow& rounded = Make("rounded", nullptr, WS_POPUP, {50, 50, 150, 150});
    Painter belowPainter{kWhite}, roundedPainter{kRed};
    below.answer = std::ref(belowPainter);
    rounded.answer = std::ref(roundedPainter);
    // The toolkit's shape: a rounded rectangle one pixel larger, softened at four pixels.
    HRGN shape = CreateRoundRectRgn(0, 0, 101, 101, 8, 8);
    for (POINT p : {POINT{1, 1}, POINT{98, 1}, POINT{1, 98}, POINT{98, 98}}) {
        HRGN dot = CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1);
        EXPECT_EQ(CombineRgn(shape, shape, dot, RGN_XOR), COMPLEXREGION);
        DeleteObject(dot);
    }
    EXPECT_TRUE(SetWindowRgn(rounded.hwnd, shape, TRUE));
    EXPECT_FALSE(DeleteObject(shape));  // the window owns it now
    PumpMessages();
    EXPECT_EQ(WindowFromPoint({50, 50}), below.hwnd);     // corner: outside the region
    EXPECT_EQ(WindowFromPoint({51, 51}), below.hwnd);     // the softened pixel
    EXPECT_EQ(WindowFromPoint({100, 50}), rounded.hwnd);  // top edge, middle
    EXPECT_EQ(WindowFromPoint({149, 100}), rounded.hwnd);
    EXPECT_EQ(ScreenPixel({50, 50}), kWhite);
    EXPECT_EQ(ScreenPixel({100, 100}), kRed);
    log.clear();
    Click({50, 50});
    ASSERT_FALSE(log.empty());
    bool belowGotIt = false;
    for (auto& m : log) belowGotIt |= m.window == "below" && m.message == WM_LBUTTONDOWN;
    EXPECT_TRUE(belowGotIt);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(rounded.hwnd, copy), RGN_ERROR);
    EXPECT_FALSE(PtInRegion(copy, 0, 0));
    EXPECT_TRUE(PtInRegion(copy, 99, 50));
    EXPECT_FALSE(PtInRegion(copy, 100, 50));  // the region stops one short of its right edge
    DeleteObject(copy);
}

TEST(Regions, CombineModes) {
    struct Case {
        int mode;
        int expectedKind;
        std::vector<POINT> inside, outside;
    };
    // Two overlapping squares: [0,10) and [5,15).
    const Case cases[] = {
        {RGN_OR, COMPLEXREGION, {{0, 0}, {7, 7}, {14, 14}}, {{14, 0}, {0, 14}}},
        {RGN_AND, SIMPLEREGION, {{5, 5}, {9, 9}}, {{0, 0}, {14, 14}}},
        {RGN_XOR, COMPLEXREGION, {{0, 0}, {14, 14}}, {{7, 7}, {14, 0}}},
        {RGN_DIFF, COMPLEXREGION, {{0, 0}, {9, 4}}, {{7, 7}, {14, 14}}},
    };
    for (const Case& c : cases) {
        HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15),
             out = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(CombineRgn(out, a, b, c.mode), c.expectedKind) << c.mode;
        for (POINT p : c.inside) EXPECT_TRUE(PtInRegion(out, p.x, p.y)) << c.mode << " " << p.x << "," << p.y;
        for (POINT p : c.outside)
            EXPECT_FALSE(PtInRegion(out, p.x, p.y)) << c.mode << " " << p.x << "," << p.y;
        for (HRGN r : {a, b, out}) DeleteObject(r);
    }
}

// A memory context with a white 20 x 20 bitmap selected.
struct Canvas {
    Canvas(int w = 20, int h = 20) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, w, h);
        old = SelectObject(dc, bitmap);
        RECT all{0, 0, w, h};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // The pixels of one row as '#' (not white) and '.'.
    std::string Row(int y, int from = 0, int to = 20) {
        std::string s;
        for (int x = from; x < to; ++x) s += GetPixel(dc, x, y) == kWhite ? '.' : '#';
        return s;
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

TEST(Drawing, LinesLeaveOutTheirEndPoint) {
    struct Case {
        POINT from, to;
        std::vector<POINT> drawn, notDrawn;
    };
    const Case cases[] = {
        {{2, 5}, {6, 5}, {{2, 5}, {5, 5}}, {{6, 5}, {1, 5}}},
        {{6, 5}, {2, 5}, {{6, 5}, {3, 5}}, {{2, 5}}},
        {{3, 1}, {3, 4}, {{3, 1}, {3, 3}}, {{3, 4}}},
        {{0, 0}, {4, 4}, {{0, 0}, {3, 3}}, {{4, 4}, {1, 0}}},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
        HGDIOBJ old = SelectObject(canvas.dc, pen);
        MoveToEx(canvas.dc, c.from.x, c.from.y, nullptr);
        LineTo(canvas.dc, c.to.x, c.to.y);
        for (POINT p : c.drawn) EXPECT_EQ(GetPixel(canvas.dc, p.x, p.y), kBlue) << p.x << "," << p.y;
        for (POINT p : c.notDrawn) EXPECT_EQ(GetPixel(canvas.dc, p.x, p.y), kWhite) << p.x << "," << p.y;
        SelectObject(canvas.dc, old);
        DeleteObject(pen);
    }
}

TEST(Drawing, FillsFramesAndPixels) {
    Canvas canvas;
    RECT r{2, 2, 8, 6};
    HBRUSH blue = CreateSolidBrush(kBlue);
    FrameRect(canvas.dc, &r, blue);
    EXPECT_EQ(canvas.Row(2, 0, 10), "..######..");
    EXPECT_EQ(canvas.Row(3, 0, 10), "..#....#..");
    EXPECT_EQ(canvas.Row(5, 0, 10), "..######..");
    EXPECT_EQ(canvas.Row(6, 0, 10), "..........");
    FillRect(canvas.dc, &r, blue);
    EXPECT_EQ(canvas.Row(4, 0, 10), "..######..");
    EXPECT_EQ(SetPixel(canvas.dc, 0, 0, kRed), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 20, 0), CLR_INVALID);
    BITMAP info;
    ASSERT_EQ(GetObjectW(canvas.bitmap, sizeof info, &info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 20);
    DeleteObject(blue);
    EXPECT_FALSE(DeleteObject(blue));                        // stale
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects stay
    RECT all{0, 0, 1, 1};
    EXPECT_EQ(FillRect(canvas.dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH))), 1);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), kWhite);
}

TEST(Drawing, BitBltCopiesOnlyWhatTheSourceHas) {
    Canvas source(10, 10), dest;
    RECT all{0, 0, 10, 10};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(source.dc, &all, red);
    // 20 x 20 from (5, 5) of a 10 x 10 source: only its 5 x 5 corner exists.
    EXPECT_TRUE(BitBlt(dest.dc, 2, 2, 20, 20, source.dc, 5, 5, SRCCOPY));
    EXPECT_EQ(dest.Row(2, 0, 10), "..#####...");
    EXPECT_EQ(dest.Row(6, 0, 10), "..#####...");
    EXPECT_EQ(dest.Row(7, 0, 10), "..........");
    DeleteObject(red);
}

}  // namespace
}  // namespace kestrova::uitest
