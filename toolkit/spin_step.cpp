#include "toolkit/spin_step.h"

namespace kestrova::toolkit {
namespace {

int Clamp(int value, int minimum, int maximum) {
    if (value > maximum) value = maximum;
    if (value < minimum) value = minimum;
    return value;
}

// The step for a cursor `beyond` pixels past the inner edge of an inset band: grows every 9 pixels.
int FarStep(int maximum, int beyond) {
    const int c = beyond / 9 + 2;
    return maximum * c / 100 + 1;
}

}  // namespace

int SpinClick(int value, int minimum, int maximum, int y, int height) {
    return Clamp(y <= height / 2 ? value + 1 : value - 1, minimum, maximum);
}

int SpinRepeat(int value, int minimum, int maximum, int y, int inset, int height) {
    const int top = 0, bottom = height;
    if (y < top + inset)
        value += FarStep(maximum, top - y + inset);
    else if (y < bottom - inset)
        value += y > bottom / 2 ? -1 : 1;
    else
        value -= FarStep(maximum, y - bottom + inset);
    return Clamp(value, minimum, maximum);
}

}  // namespace kestrova::toolkit
