#pragma once
// The text button's look in each state. Its arrows are copied onto its face, so they are painted on the same
// face colour; both come from here.

#include "tools/skin_painter/palette.h"

namespace skin {

struct TextButtonLook {
    Rgb face;  // the flat middle the button stretches
    Rgb border;
    Rgb text;  // the colour the button writes its text in, for the arrows
};

// Normal, hover, pressed, disabled.
constexpr TextButtonLook kTextButtonLooks[] = {
    {{247, 248, 250}, {200, 203, 208}, kButtonText},
    {{239, 243, 249}, {150, 172, 208}, kButtonTextHot},
    {{225, 232, 243}, {118, 146, 194}, kButtonTextHot},
    {{249, 249, 250}, {226, 226, 229}, kDisabledText},
};

}  // namespace skin
