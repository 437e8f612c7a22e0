#include "tools/skin_painter/shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skin {
namespace {

double Length(double x, double y) {
    return std::hypot(x, y);
}

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y, px = p.x - a.x, py = p.y - a.y;
    const double squared = dx * dx + dy * dy;
    const double t = squared > 0 ? std::clamp((px * dx + py * dy) / squared, 0.0, 1.0) : 0.0;
    return Length(px - t * dx, py - t * dy);
}

Bounds Grown(Bounds b, double by) {
    return {b.x0 - by, b.y0 - by, b.x1 + by, b.y1 + by};
}

Bounds BoundsOf(const std::vector<Point>& points) {
    Bounds b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        b.x0 = std::min(b.x0, p.x), b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x), b.y1 = std::max(b.y1, p.y);
    }
    return b;
}

}  // namespace

Shape Circle(Point centre, double radius) {
    return {[=](Point p) { return Length(p.x - centre.x, p.y - centre.y) - radius; },
            {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius}};
}

Shape Box(double x0, double y0, double x1, double y1, double radius) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return {[=](Point p) {
                const double qx = std::abs(p.x - cx) - hx, qy = std::abs(p.y - cy) - hy;
                return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
                       radius;
            },
            {x0, y0, x1, y1}};
}

Shape Line(Point a, Point b, double width) {
    return Polyline({a, b}, width);
}

Shape Polyline(const std::vector<Point>& points, double width) {
    return {[=](Point p) {
                double d = SegmentDistance(p, points[0], points[0]);
                for (size_t i = 1; i < points.size(); ++i)
                    d = std::min(d, SegmentDistance(p, points[i - 1], points[i]));
                return d - width / 2;
            },
            Grown(BoundsOf(points), width / 2)};
}

Shape Arc(Point centre, double radius, double from, double to, double width) {
    constexpr double kRadians = std::numbers::pi / 180;
    const double sweep = to - from;
    auto at = [=](double degrees) {
        return Point{centre.x + radius * std::cos(degrees * kRadians),
                     centre.y + radius * std::sin(degrees * kRadians)};
    };
    const Point start = at(from), end = at(to);
    return {[=](Point p) {
                const double dx = p.x - centre.x, dy = p.y - centre.y;
                double angle = std::atan2(dy, dx) / kRadians - from;
                angle -= 360 * std::floor(angle / 360);
                const double onCircle = std::abs(Length(dx, dy) - radius);
                const double toEnds =
                    std::min(Length(p.x - start.x, p.y - start.y), Length(p.x - end.x, p.y - end.y));
                return (angle <= sweep ? onCircle : toEnds) - width / 2;
            },
            Grown({centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius}, width / 2)};
}

Shape Polygon(std::vector<Point> points) {
    const Bounds bounds = BoundsOf(points);
    return {[points = std::move(points)](Point p) {
                // The nearest edge gives the distance; crossings of a ray to the right give the side.
                double nearest = 1e300;
                bool inside = false;
                for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                    const Point a = points[j], b = points[i];
                    nearest = std::min(nearest, SegmentDistance(p, a, b));
                    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
                        inside = !inside;
                }
                return inside ? -nearest : nearest;
            },
            bounds};
}

Shape Union(std::vector<Shape> shapes) {
    Bounds bounds = shapes[0].bounds;
    for (const Shape& s : shapes) {
        bounds.x0 = std::min(bounds.x0, s.bounds.x0), bounds.y0 = std::min(bounds.y0, s.bounds.y0);
        bounds.x1 = std::max(bounds.x1, s.bounds.x1), bounds.y1 = std::max(bounds.y1, s.bounds.y1);
    }
    return {[shapes = std::move(shapes)](Point p) {
                double d = 1e300;
                for (const Shape& s : shapes) d = std::min(d, s.distance(p));
                return d;
            },
            bounds};
}

Shape Intersection(const Shape& a, const Shape& b) {
    return {[=](Point p) { return std::max(a.distance(p), b.distance(p)); },
            {std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
             std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)}};
}

Shape Difference(const Shape& a, const Shape& b) {
    return {[=](Point p) { return std::max(a.distance(p), -b.distance(p)); }, a.bounds};
}

Shape Rim(const Shape& shape, double width) {
    return {[=](Point p) {
                const double d = shape.distance(p);
                return std::max(d, -(d + width));
            },
            shape.bounds};
}

Shape Grown(const Shape& shape, double by) {
    return {[=](Point p) { return shape.distance(p) - by; }, Grown(shape.bounds, by)};
}

Shape Moved(const Shape& shape, double dx, double dy) {
    const Bounds b = shape.bounds;
    return {[=](Point p) {
                return shape.distance({p.x - dx, p.y - dy});
            },
            {b.x0 + dx, b.y0 + dy, b.x1 + dx, b.y1 + dy}};
}

Shape Placed(const Shape& shape, Point centre, double scale) {
    const Bounds b = shape.bounds;
    return {
        [=](Point p) {
            return scale * shape.distance({(p.x - centre.x) / scale, (p.y - centre.y) / scale});
        },
        {centre.x + b.x0 * scale, centre.y + b.y0 * scale, centre.x + b.x1 * scale, centre.y + b.y1 * scale}};
}

}  // namespace skin
