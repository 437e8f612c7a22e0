#include "platform/ui/region.h"

#include <algorithm>
#include <cmath>

namespace kestrova::ui {

Region::Region() {
    pixman_region32_init(&region_);
}

Region::Region(const RECT& r) {
    if (RectEmpty(r))
        pixman_region32_init(&region_);
    else
        pixman_region32_init_rect(&region_, r.left, r.top, unsigned(r.right - r.left),
                                  unsigned(r.bottom - r.top));
}

Region::Region(const Region& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region::Region(Region&& other) noexcept : Region() {
    pixman_region32_copy(&region_, &other.region_);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    return *this = static_cast<const Region&>(other);
}

Region::~Region() {
    pixman_region32_fini(&region_);
}

bool Region::Empty() const {
    return !pixman_region32_not_empty(&region_);
}

RECT Region::Bounds() const {
    if (Empty()) return RECT{};
    const pixman_box32_t* b = pixman_region32_extents(&region_);
    return RECT{b->x1, b->y1, b->x2, b->y2};
}

bool Region::Contains(int x, int y) const {
    return pixman_region32_contains_point(&region_, x, y, nullptr);
}

bool Region::Equals(const Region& other) const {
    return pixman_region32_equal(&region_, &other.region_);
}

std::vector<RECT> Region::Rects() const {
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region_, &n);
    std::vector<RECT> rects;
    for (int i = 0; i < n; ++i) rects.push_back(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    return rects;
}

void Region::Clear() {
    pixman_region32_clear(&region_);
}

void Region::Union(const Region& other) {
    pixman_region32_union(&region_, &region_, &other.region_);
}

void Region::Intersect(const Region& other) {
    pixman_region32_intersect(&region_, &region_, &other.region_);
}

void Region::Subtract(const Region& other) {
    pixman_region32_subtract(&region_, &region_, &other.region_);
}

void Region::Xor(const Region& other) {
    Region both(*this);
    both.Intersect(other);
    Union(other);
    Subtract(both);
}

void Region::Offset(int dx, int dy) {
    pixman_region32_translate(&region_, dx, dy);
}

Region RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    int width = right - 1 - left, height = bottom - 1 - top;
    if (width <= 0 || height <= 0) return Region();
    int ew = std::clamp(ellipseWidth, 0, width), eh = std::clamp(ellipseHeight, 0, height);
    if (ew < 2 || eh < 2) return Region(RECT{left, top, right - 1, bottom - 1});
    // One band per row: the row is cut at both ends by the corner ellipses where it crosses them.
    double rx = ew / 2.0, ry = eh / 2.0;
    std::vector<pixman_box32_t> boxes;
    for (int y = 0; y < height; ++y) {
        double dy = 0;
        if (y < ry)
            dy = ry - (y + 0.5);
        else if (y >= height - ry)
            dy = (y + 0.5) - (height - ry);
        int inset = 0;
        if (dy > 0) {
            double t = 1.0 - (dy * dy) / (ry * ry);
            inset = int(std::lround(rx - rx * std::sqrt(std::max(0.0, t))));
        }
        if (width - 2 * inset > 0)
            boxes.push_back({left + inset, top + y, left + width - inset, top + y + 1});
    }
    Region region;
    pixman_region32_fini(region.Raw());
    pixman_region32_init_rects(region.Raw(), boxes.data(), int(boxes.size()));
    return region;
}

}  // namespace kestrova::ui
