#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/ui/gdi.h"

namespace kestrova::uitest {
namespace {

// A 24-bit frame, bottom-up as cameras deliver them unless told otherwise.
struct Frame {
    Frame(int w, int h, bool topDown = false)
        : width(w), height(h), topDown(topDown), stride((w * 3 + 3) / 4 * 4), bits(size_t(stride) * h) {
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = topDown ? -h : h;
    }
    // The blue, green, red bytes of the pixel `y` rows from the top.
    uint8_t* At(int x, int y) {
        return bits.data() + size_t(topDown ? y : height - 1 - y) * stride + size_t(x) * 3;
    }
    int width, height;
    bool topDown;
    int stride;
    std::vector<uint8_t> bits;
    BITMAPINFO info;
};

Frame Noise(int w, int h, bool topDown = false) {
    Frame f(w, h, topDown);
    std::mt19937 random(7);
    for (auto& b : f.bits) b = uint8_t(random());
    return f;
}

// The area average of the source rectangle `source` (top row first) under destination pixel (dx, dy) of
// outW x outH, channel `c`, in doubles.
double BoxReference(Frame& f, const RECT& source, int outW, int outH, int dx, int dy, int c) {
    const int w = source.right - source.left, h = source.bottom - source.top;
    double x0 = source.left + double(dx) * w / outW, x1 = source.left + double(dx + 1) * w / outW;
    double y0 = source.top + double(dy) * h / outH, y1 = source.top + double(dy + 1) * h / outH;
    double sum = 0, area = 0;
    for (int y = int(y0); y < int(std::ceil(y1)); ++y)
        for (int x = int(x0); x < int(std::ceil(x1)); ++x) {
            double wx = std::min(x1, x + 1.0) - std::max(x0, double(x));
            double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
            sum += wx * wy * f.At(x, y)[c];
            area += wx * wy;
        }
    return sum / area;
}

struct Target {
    Target(int w, int h) : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, w, h)) {
        old = SelectObject(dc, bitmap);
    }
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// The largest difference from the area average over the destination drawn at (5, 5).
int WorstLevel(Target& target, Frame& frame, const RECT& source, int w, int h) {
    int worst = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF got = GetPixel(target.dc, x + 5, y + 5);
            int channels[3] = {GetBValue(got), GetGValue(got), GetRValue(got)};
            for (int c = 0; c < 3; ++c)
                worst = std::max(
                    worst, int(std::abs(channels[c] - BoxReference(frame, source, w, h, x, y, c)) + 0.5));
        }
    return worst;
}

struct Shrink {
    const char* name;
    int frameWidth, frameHeight;
    bool topDown;
    RECT source;  // top row first
    SIZE out;
};

class HalftoneShrink : public ::testing::TestWithParam<Shrink> {};

TEST_P(HalftoneShrink, MatchesTheAreaAverageWithinOneLevel) {
    const Shrink& c = GetParam();
    Frame frame = Noise(c.frameWidth, c.frameHeight, c.topDown);
    const int w = c.out.cx, h = c.out.cy;
    const int sw = c.source.right - c.source.left, sh = c.source.bottom - c.source.top;
    // A bottom-up picture's source rectangle is given from its bottom-left corner.
    const int sourceY = c.topDown ? int(c.source.top) : c.frameHeight - int(c.source.bottom);
    Target target(w + 10, h + 10);
    SetStretchBltMode(target.dc, HALFTONE);
    ASSERT_EQ(StretchDIBits(target.dc, 5, 5, w, h, c.source.left, sourceY, sw, sh, frame.bits.data(),
                            &frame.info, DIB_RGB_COLORS, SRCCOPY),
              sh);
    EXPECT_LE(WorstLevel(target, frame, c.source, w, h), 1);
    EXPECT_EQ(GetPixel(target.dc, 4, 4), RGB(0, 0, 0));  // nothing outside the destination
    EXPECT_EQ(GetPixel(target.dc, w + 5, h + 5), RGB(0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, HalftoneShrink,
    ::testing::Values(Shrink{"DisplayTile", 640, 480, false, {0, 0, 640, 480}, {96, 72}},
                      Shrink{"PopupPicture", 640, 480, false, {0, 0, 640, 480}, {320, 240}},
                      Shrink{"TopDown", 331, 247, true, {0, 0, 331, 247}, {159, 119}},
                      Shrink{"NarrowerButTaller", 200, 60, false, {0, 0, 200, 60}, {70, 90}},
                      Shrink{"PartOfABottomUpFrame", 320, 240, false, {30, 20, 230, 170}, {61, 47}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StretchDIBits, HalftoneDrawsOnlyInsideAClipOfTwoRectangles) {
    Frame frame = Noise(640, 480);
    Target whole(200, 160), clipped(200, 160);
    HRGN clip = CreateRectRgn(10, 10, 60, 150);
    HRGN other = CreateRectRgn(120, 40, 190, 90);
    CombineRgn(clip, clip, other, RGN_OR);
    SelectClipRgn(clipped.dc, clip);
    for (Target* t : {&whole, &clipped}) {
        SetStretchBltMode(t->dc, HALFTONE);
        StretchDIBits(t->dc, 0, 0, 200, 160, 0, 0, 640, 480, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                      SRCCOPY);
    }
    SelectClipRgn(clipped.dc, nullptr);  // to read every pixel back
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool inside = PtInRegion(clip, x, y);
            ASSERT_EQ(GetPixel(clipped.dc, x, y), inside ? GetPixel(whole.dc, x, y) : RGB(0, 0, 0))
                << x << ", " << y;
        }
    DeleteObject(other);
    DeleteObject(clip);
}

TEST(StretchDIBits, ColorOnColorTakesSourcePixelsWithoutBlending) {
    Frame frame(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) std::fill_n(frame.At(x, y), 3, (x + y) % 2 ? 255 : 0);
    Target target(40, 30);
    SetStretchBltMode(target.dc, COLORONCOLOR);
    StretchDIBits(target.dc, 0, 0, 40, 30, 0, 0, 64, 48, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                  SRCCOPY);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const COLORREF got = GetPixel(target.dc, x, y);
            ASSERT_TRUE(got == RGB(0, 0, 0) || got == RGB(255, 255, 255)) << x << ", " << y;
        }
}

TEST(StretchDIBits, HalftoneEnlargingBlendsSmoothly) {
    Frame frame(2, 1);
    std::fill_n(frame.At(1, 0), 3, 255);  // black, then white
    Target target(16, 1);
    SetStretchBltMode(target.dc, HALFTONE);
    StretchDIBits(target.dc, 0, 0, 16, 1, 0, 0, 2, 1, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                  SRCCOPY);
    int previous = -1, between = 0;
    for (int x = 0; x < 16; ++x) {
        const int level = GetRValue(GetPixel(target.dc, x, 0));
        EXPECT_GE(level, previous) << x;
        between += level > 0 && level < 255;
        previous = level;
    }
    EXPECT_EQ(GetRValue(GetPixel(target.dc, 0, 0)), 0);
    EXPECT_EQ(previous, 255);
    EXPECT_GE(between, 4);  // a ramp, not two blocks
}

TEST(StretchDIBits, BottomUpFramesComeOutUprightInEveryMode) {
    Frame frame(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = frame.At(x, y);
            p[0] = y < 4 ? 0 : 255;  // top half red, bottom half blue
            p[2] = y < 4 ? 255 : 0;
        }
    for (int mode : {HALFTONE, COLORONCOLOR}) {
        for (SIZE size : {SIZE{4, 4}, SIZE{16, 16}}) {
            Target target(16, 16);
            SetStretchBltMode(target.dc, mode);
            StretchDIBits(target.dc, 0, 0, size.cx, size.cy, 0, 0, 8, 8, frame.bits.data(), &frame.info,
                          DIB_RGB_COLORS, SRCCOPY);
            EXPECT_EQ(GetPixel(target.dc, 0, 0), RGB(255, 0, 0)) << mode << " " << size.cx;
            EXPECT_EQ(GetPixel(target.dc, size.cx - 1, size.cy - 1), RGB(0, 0, 255))
                << mode << " " << size.cx;
        }
    }
}

TEST(StretchDIBits, RefusesWhatItCannotDraw) {
    Frame frame(8, 8);
    Target target(8, 8);
    BITMAPINFO paletted = frame.info;
    paletted.bmiHeader.biBitCount = 8;
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, 0, 0, 8, 8, frame.bits.data(), &paletted, DIB_RGB_COLORS,
                            SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, 0, 0, 9, 8, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                            SRCCOPY),
              0);
    // Rectangles whose far edge lies past the largest int must not wrap around into the picture.
    const int far = std::numeric_limits<int>::max() - 4;
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, far, 0, 8, 8, frame.bits.data(), &frame.info,
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, 0, -far, 8, 8, frame.bits.data(), &frame.info,
                            DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, 0, 0, 8, 8, nullptr, &frame.info, DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 8, 8, 0, 0, 8, 8, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                            SRCCOPY),
              0);
}

}  // namespace
}  // namespace kestrova::uitest
