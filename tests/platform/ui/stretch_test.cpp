#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "platform/ui/gdi.h"

namespace kestrova::uitest {
namespace {

// A 24-bit bottom-up frame, as cameras deliver them.
struct Frame {
    Frame(int w, int h) : width(w), height(h), stride((w * 3 + 3) / 4 * 4), bits(size_t(stride) * h) {
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = h;
    }
    // The blue, green, red bytes of the pixel `y` rows from the top.
    uint8_t* At(int x, int y) { return bits.data() + size_t(height - 1 - y) * stride + size_t(x) * 3; }
    int width, height, stride;
    std::vector<uint8_t> bits;
    BITMAPINFO info;
};

Frame Noise(int w, int h) {
    Frame f(w, h);
    std::mt19937 random(7);
    for (auto& b : f.bits) b = uint8_t(random());
    return f;
}

// The area average of the source under destination pixel (dx, dy), channel `c`, in doubles.
double BoxReference(Frame& f, int outW, int outH, int dx, int dy, int c) {
    double x0 = double(dx) * f.width / outW, x1 = double(dx + 1) * f.width / outW;
    double y0 = double(dy) * f.height / outH, y1 = double(dy + 1) * f.height / outH;
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

class HalftoneShrink : public ::testing::TestWithParam<SIZE> {};

TEST_P(HalftoneShrink, MatchesTheAreaAverageWithinOneLevel) {
    Frame frame = Noise(640, 480);
    const int w = GetParam().cx, h = GetParam().cy;
    Target target(w + 10, h + 10);
    SetStretchBltMode(target.dc, HALFTONE);
    ASSERT_EQ(StretchDIBits(target.dc, 5, 5, w, h, 0, 0, 640, 480, frame.bits.data(), &frame.info,
                            DIB_RGB_COLORS, SRCCOPY),
              480);
    int worst = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF got = GetPixel(target.dc, x + 5, y + 5);
            int channels[3] = {GetBValue(got), GetGValue(got), GetRValue(got)};
            for (int c = 0; c < 3; ++c)
                worst =
                    std::max(worst, int(std::abs(channels[c] - BoxReference(frame, w, h, x, y, c)) + 0.5));
        }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(GetPixel(target.dc, 4, 4), RGB(0, 0, 0));  // nothing outside the destination
}

INSTANTIATE_TEST_SUITE_P(Tiles, HalftoneShrink,
                         ::testing::Values(SIZE{320, 240}, SIZE{96, 72}, SIZE{159, 119}));

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
    EXPECT_EQ(StretchDIBits(target.dc, 0, 0, 8, 8, 0, 0, 8, 8, nullptr, &frame.info, DIB_RGB_COLORS, SRCCOPY),
              0);
    EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 8, 8, 0, 0, 8, 8, frame.bits.data(), &frame.info, DIB_RGB_COLORS,
                            SRCCOPY),
              0);
}

}  // namespace
}  // namespace kestrova::uitest
