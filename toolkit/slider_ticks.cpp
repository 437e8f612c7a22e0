#include "toolkit/slider_ticks.h"

#include <algorithm>

namespace kestrova::toolkit {
namespace {

constexpr int kMargin = 10;

}  // namespace

void SliderTicks::Layout(int width, int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    const int n = maximum - minimum + 1;
    // A slider too narrow for its ticks packs them side by side rather than letting them run backwards.
    const int free = std::max(0, width - n - 2 * kMargin);
    spacing_ = free / (n - 1);
    const int leftOver = free - spacing_ * (n - 1);
    x_.resize(size_t(n));
    for (int i = 0; i < n; ++i) x_[size_t(i)] = kMargin + i * (spacing_ + 1) + std::min(i, leftOver);
}

int SliderTicks::Clamp(int value) const {
    return std::clamp(value, minimum_, maximum_);
}

int SliderTicks::ValueAt(int px, int current) const {
    // Half a gap either side of a tick; at least the tick's own column, so that ticks packed closely can
    // still each be reached.
    const int h = std::max(1, spacing_ / 2);
    const int last = Count() - 1;
    int index = -1;
    if (px < x_[0] + h) index = 0;
    for (int i = 1; i < last; ++i)
        if (x_[size_t(i)] - h < px && px < x_[size_t(i)] + h) index = i;
    if (px > x_[size_t(last)] - h) index = last;
    return index < 0 ? current : minimum_ + index;
}

}  // namespace kestrova::toolkit
