#include "tools/skin_painter/glyphs.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace skin::glyph {
namespace {

// Rotates a shape drawn pointing right so that it points in `d`.
Point Turned(Point p, Direction d) {
    switch (d) {
        case Direction::Right:
            return p;
        case Direction::Left:
            return {-p.x, -p.y};
        case Direction::Down:
            return {-p.y, p.x};
        case Direction::Up:
            return {p.y, -p.x};
    }
    return p;
}

std::vector<Point> Turned(std::vector<Point> points, Direction d) {
    for (Point& p : points) p = Turned(p, d);
    return points;
}

}  // namespace

Shape Cross(double stroke) {
    return Union({Line({-5, -5}, {5, 5}, stroke), Line({5, -5}, {-5, 5}, stroke)});
}

Shape Minus(double stroke) {
    return Line({-5, 0}, {5, 0}, stroke);
}

Shape Menu(double stroke) {
    return Union(
        {Line({-5, -4}, {5, -4}, stroke), Line({-5, 0}, {5, 0}, stroke), Line({-5, 4}, {5, 4}, stroke)});
}

Shape Tick(double stroke) {
    return Polyline({{-6, 0.5}, {-2, 4.5}, {6, -4.5}}, stroke);
}

Shape Chevron(Direction d, double stroke) {
    return Polyline(Turned({{-2.5, -6}, {3.5, 0}, {-2.5, 6}}, d), stroke);
}

Shape Triangle(Direction d) {
    return Polygon(Turned({{-4, -8}, {4, 0}, {-4, 8}}, d));
}

Shape Power(double stroke) {
    return Union({Arc({0, 0.8}, 6.2, -50, 230, stroke), Line({0, -7.5}, {0, -0.5}, stroke)});
}

Shape Bell() {
    const Shape dome = Circle({0, -2.5}, 4.6);
    const Shape skirt = Polygon({{-4.6, -2.5}, {4.6, -2.5}, {6.2, 3.6}, {-6.2, 3.6}});
    const Shape rim = Box(-7.4, 3, 7.4, 5, 1);
    return Union({dome, skirt, rim, Circle({0, 6.6}, 1.7), Circle({0, -7.2}, 1.2)});
}

Shape Broadcast(double stroke) {
    return Union({Circle({0, 0}, 1.9), Arc({0, 0}, 4.6, -42, 42, stroke), Arc({0, 0}, 4.6, 138, 222, stroke),
                  Arc({0, 0}, 7.6, -40, 40, stroke), Arc({0, 0}, 7.6, 140, 220, stroke)});
}

Shape Mask() {
    // A picture with part of it struck out by hatching.
    const Shape frame = Rim(Box(-8, -6.5, 8, 6.5, 1.8), 1.5);
    std::vector<Shape> stripes;
    for (double k = -12; k <= 12; k += 3.6) stripes.push_back(Line({k - 8, 8}, {k + 8, -8}, 1.3));
    return Union({frame, Intersection(Union(std::move(stripes)), Box(-1, -5, 6.5, 5))});
}

Shape Clock(double stroke) {
    return Union({Difference(Circle({0, 0}, 7.4), Circle({0, 0}, 7.4 - stroke)),
                  Polyline({{0, -4.2}, {0, 0}, {3.2, 2.2}}, stroke)});
}

Shape Sliders(double stroke) {
    std::vector<Shape> parts;
    const double knobs[] = {-3, 3.2, -0.6};
    for (int i = 0; i < 3; ++i) {
        const double y = -5 + 5 * i;
        parts.push_back(Line({-7, y}, {7, y}, stroke));
        parts.push_back(Circle({knobs[i], y}, 2.3));
    }
    return Union(std::move(parts));
}

Shape Display() {
    // Four pictures on one display.
    constexpr double kSide = 6.6, kGap = 2.2, kFirst = -(kSide + kGap / 2), kSecond = kGap / 2;
    std::vector<Shape> tiles;
    for (double x : {kFirst, kSecond})
        for (double y : {kFirst, kSecond}) tiles.push_back(Box(x, y, x + kSide, y + kSide, 1.4));
    return Union(std::move(tiles));
}

Shape List(double stroke) {
    std::vector<Shape> parts;
    for (double y : {-5.0, 0.0, 5.0}) {
        parts.push_back(Circle({-6, y}, 1.5));
        parts.push_back(Line({-2.2, y}, {7, y}, stroke));
    }
    return Union(std::move(parts));
}

Shape Gear() {
    std::vector<Shape> parts{Circle({0, 0}, 5.4)};
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4, c = std::cos(a), s = std::sin(a);
        auto at = [&](double along, double across) {
            return Point{along * c - across * s, along * s + across * c};
        };
        parts.push_back(Polygon({at(3, -1.6), at(7.8, -1.2), at(7.8, 1.2), at(3, 1.6)}));
    }
    return Difference(Union(std::move(parts)), Circle({0, 0}, 2.3));
}

Shape Fullscreen(double stroke) {
    std::vector<Shape> parts;
    for (double sx : {-1.0, 1.0})
        for (double sy : {-1.0, 1.0})
            parts.push_back(Polyline({{7 * sx, 2.5 * sy}, {7 * sx, 7 * sy}, {2.5 * sx, 7 * sy}}, stroke));
    return Union(std::move(parts));
}

Shape PopOut(double stroke) {
    const Shape window = Polyline({{-1, -6}, {-6.5, -6}, {-6.5, 6.5}, {6, 6.5}, {6, 1}}, stroke);
    const Shape arrow = Union(
        {Line({-1, 1.5}, {6.5, -6}, stroke), Polyline({{1.5, -6.5}, {6.8, -6.5}, {6.8, -1.2}}, stroke)});
    return Union({window, arrow});
}

Shape Camera() {
    return Union({Box(-7.5, -4.5, 3, 4.5, 1.5), Polygon({{2, -1}, {7.5, -4.5}, {7.5, 4.5}, {2, 1}})});
}

Shape Microphone(double stroke) {
    return Union({Box(-2.8, -8, 2.8, 2.2, 2.8), Arc({0, -1}, 5.2, 0, 180, stroke),
                  Line({0, 4.2}, {0, 7.2}, stroke), Line({-3.4, 7.4}, {3.4, 7.4}, stroke)});
}

}  // namespace skin::glyph
