#pragma once
// A set of pixels as a list of bands of rectangles (pixman's regions), used for window regions, update
// regions, clipping and the region objects of device contexts.

#include <pixman.h>

#include <vector>

#include "platform/ui/types.h"

namespace kestrova::ui {

class Region {
public:
    Region();
    explicit Region(const RECT& rect);
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;
    ~Region();

    bool Empty() const;
    // The smallest rectangle holding every pixel; all zero when empty.
    RECT Bounds() const;
    bool Contains(int x, int y) const;
    bool Equals(const Region& other) const;
    std::vector<RECT> Rects() const;

    void Clear();
    void Union(const Region& other);
    void Intersect(const Region& other);
    void Subtract(const Region& other);
    void Xor(const Region& other);
    void Offset(int dx, int dy);

    pixman_region32_t* Raw() { return &region_; }
    const pixman_region32_t* Raw() const { return &region_; }

private:
    pixman_region32_t region_;
};

// Rectangles with their corners cut by quarter ellipses of `ellipseWidth` x `ellipseHeight`. Like the
// platform's rounded-rectangle regions, it covers [left, right - 1) x [top, bottom - 1).
Region RoundRectRegion(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);

inline bool RectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace kestrova::ui
