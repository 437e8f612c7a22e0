#include "toolkit/spin_step.h"

#include <cstdint>

namespace kestrova::toolkit {
namespace {

// Wide, so that a value stored as given near the ends of int cannot overflow on its step.
int Clamp(int64_t value, int minimum, int maximum) {
    if (value > maximum) value = maximum;
    if (value < minimum) value = minimum;
    return int(value);
}

// The step for a cursor `beyond` pixels past the inner edge of an inset band: grows every 9 pixels.
int FarStep(int maximum, int beyond) {
    const int c = beyond / 9 + 2;
    return maximum * c / 100 + 1;
}

}  // namespace

int SpinClick(int value, int minimum, int maximum, int y, int height) {
    return Clamp(y <= height / 2 ? int64_t(value) + 1 : int64_t(value) - 1, minimum, maximum);
}

int SpinRepeat(int value, int minimum, int maximum, int y, int inset, int height) {
    const int top = 0, bottom = height;
    int64_t stepped = value;
    if (y < top + inset)
        stepped += FarStep(maximum, top - y + inset);
    else if (y < bottom - inset)
        stepped += y > bottom / 2 ? -1 : 1;
    else
        stepped -= FarStep(maximum, y - bottom + inset);
    return Clamp(stepped, minimum, maximum);
}

}  // namespace kestrova::toolkit
