#pragma once
// Where a slider's ticks stand, and which tick a drag lands on. There is one 1-pixel tick per whole value of
// the range, spread evenly inside 10-pixel margins; the pixels an even spread leaves over widen the first
// gaps by one each, so that the last tick always stands at width - 11.

#include <cstddef>
#include <vector>

namespace kestrova::toolkit {

class SliderTicks {
public:
    // A range must span at least two values to lay out.
    static bool Spans(int minimum, int maximum) { return minimum < maximum; }

    // Lays out the ticks of minimum..maximum (which Spans) over a client area `width` pixels wide. The
    // layout stays as it is when the control is resized later.
    void Layout(int width, int minimum, int maximum);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }
    int Spacing() const { return spacing_; }  // free pixels between neighbouring ticks
    int Count() const { return int(x_.size()); }
    // The client x of the tick that stands for `value`, a value of the range.
    int X(int value) const { return x_[size_t(value - minimum_)]; }
    int Clamp(int value) const;

    // The value a drag shows with the cursor at client x `px`: the tick within half a gap of it (the end
    // ticks also take everything beyond them), or `current` between these zones, so that the thumb does
    // not flicker between two ticks.
    int ValueAt(int px, int current) const;

private:
    int minimum_ = 0;
    int maximum_ = 0;
    int spacing_ = 0;
    std::vector<int> x_;
};

}  // namespace kestrova::toolkit
