#pragma once
// How a spin button moves its value. A click steps it by one, up when it lands in the button's upper half;
// held, it repeats, and dragging the held cursor above or below the button makes each step larger the
// farther the cursor goes. The value always stays within [minimum, maximum].

namespace kestrova::toolkit {

// The value after a click (a press shorter than the first repeat) at client y of a button `height` high.
int SpinClick(int value, int minimum, int maximum, int y, int height);

// The value after one repeat while the button is held with the cursor at client y: inside the button
// (between the insets) one step, up in its upper half; in the inset band at the top or above the button,
// up by maximum x c / 100 + 1 with c = (distance into the band or beyond) / 9 + 2; likewise down at the
// bottom.
int SpinRepeat(int value, int minimum, int maximum, int y, int inset, int height);

}  // namespace kestrova::toolkit
