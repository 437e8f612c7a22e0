#pragma once
// Shapes as signed distance fields: a shape answers, for any point, how far it lies outside its edge
// (negative inside), in pixels. A canvas turns that distance into anti-aliased coverage, so every shape and
// every combination of shapes is smooth at any size without special cases.
//
// Coordinates are continuous with y going down: pixel (x, y) is the square from (x, y) to (x + 1, y + 1), so
// a box from (2, 3) to (7, 9) covers exactly the pixels x 2..6, y 3..8 with crisp edges.

#include <functional>
#include <vector>

namespace skin {

struct Point {
    double x = 0;
    double y = 0;
};

// The area outside which a shape's distance is certainly positive; fills only visit these pixels.
struct Bounds {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct Shape {
    std::function<double(Point)> distance;
    Bounds bounds;
};

Shape Circle(Point centre, double radius);
// The rectangle from (x0, y0) to (x1, y1) with corners rounded by `radius`.
Shape Box(double x0, double y0, double x1, double y1, double radius = 0);
// A stroke of the given width from a to b with round ends.
Shape Line(Point a, Point b, double width);
// A stroke through the points in turn, with round joints and ends.
Shape Polyline(const std::vector<Point>& points, double width);
// A stroke along the circle around `centre`, from angle `from` to angle `to` in degrees, going clockwise on
// screen (0 points right, 90 down), with round ends.
Shape Arc(Point centre, double radius, double from, double to, double width);
// The polygon through the points (either winding).
Shape Polygon(std::vector<Point> points);

Shape Union(std::vector<Shape> shapes);
Shape Intersection(const Shape& a, const Shape& b);
// What lies in a but not in b.
Shape Difference(const Shape& a, const Shape& b);
// The band of the given width just inside the shape's edge: a border that stays within the shape.
Shape Rim(const Shape& shape, double width);
// The shape grown outward by `by` pixels all round, its corners rounded by as much.
Shape Grown(const Shape& shape, double by);
// The shape moved by (dx, dy).
Shape Moved(const Shape& shape, double dx, double dy);
// A shape drawn around (0, 0) in its own units, enlarged `scale` times and centred on `centre`.
Shape Placed(const Shape& shape, Point centre, double scale);

}  // namespace skin
