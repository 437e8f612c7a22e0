#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/skin_painter/canvas.h"
#include "tools/skin_painter/shape.h"

namespace skin {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// How much of the canvas is painted black, in pixels.
double PaintedArea(const Canvas& c) {
    double area = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) area += 1 - c.At(x, y).r / 255;
    return area;
}

TEST(DrawingKit, ABoxOnWholePixelsCoversExactlyThosePixels) {
    Canvas c(12, 12, kWhite);
    c.Fill(Box(2, 3, 7, 9), kBlack);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 9;
            EXPECT_EQ(c.At(x, y), inside ? kBlack : kWhite) << x << "," << y;
        }
    }
}

// Anti-aliasing must neither grow nor shrink a shape: the painted area is the shape's area.
TEST(DrawingKit, SmoothEdgesKeepEachShapesArea) {
    const struct {
        const char* name;
        Shape shape;
        double area;
    } cases[] = {
        {"circle", Circle({20, 20}, 9.3), std::numbers::pi * 9.3 * 9.3},
        {"rounded box", Box(4.5, 6, 33, 30.5, 5), 28.5 * 24.5 - (4 - std::numbers::pi) * 25},
        {"triangle", Polygon({{5, 5}, {35, 8}, {12, 33}}), 0.5 * std::abs(30.0 * 28 - 3.0 * 7)},
        {"line", Line({6, 10}, {30, 28}, 2), 2 * std::hypot(24, 18) + std::numbers::pi},
        {"rim of a box", Rim(Box(5, 5, 35, 25), 2), 30 * 20 - 26 * 16},
        {"half a ring", Arc({20, 20}, 10, 0, 180, 2), std::numbers::pi * 10 * 2 + std::numbers::pi},
        {"box with a round hole", Difference(Box(5, 5, 35, 35), Circle({20, 20}, 8)),
         900 - std::numbers::pi * 64},
    };
    for (const auto& c : cases) {
        Canvas canvas(40, 40, kWhite);
        canvas.Fill(c.shape, kBlack);
        EXPECT_NEAR(PaintedArea(canvas), c.area, c.area * 0.015 + 0.5) << c.name;
    }
}

TEST(DrawingKit, PlacedShapesScaleAroundTheirCentre) {
    Canvas c(40, 40, kWhite);
    c.Fill(Placed(Box(-2, -1, 2, 1), {20, 10}, 3), kBlack);
    EXPECT_EQ(c.At(14, 7), kBlack);
    EXPECT_EQ(c.At(25, 12), kBlack);
    EXPECT_EQ(c.At(13, 10), kWhite);
    EXPECT_EQ(c.At(26, 10), kWhite);
    EXPECT_EQ(c.At(20, 6), kWhite);
    EXPECT_EQ(c.At(20, 13), kWhite);
}

TEST(DrawingKit, PicturesSurviveAPngRoundTrip) {
    Canvas c(7, 5, Rgb{97, 130, 184});
    c.Fill(Circle({3.5, 2.5}, 2), Rgb{255, 191, 19});
    const std::string path = testing::TempDir() + "round_trip.png";
    std::string error;
    ASSERT_TRUE(WritePng(c, path, &error)) << error;
    Canvas back(1, 1, kWhite);
    ASSERT_TRUE(ReadPicture(path, &back, &error)) << error;
    ASSERT_EQ(back.Width(), 7);
    ASSERT_EQ(back.Height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(back.At(x, y), c.At(x, y)) << x << "," << y;

    EXPECT_FALSE(ReadPicture(testing::TempDir() + "no_such_picture.png", &back, &error));
}

}  // namespace
}  // namespace skin
