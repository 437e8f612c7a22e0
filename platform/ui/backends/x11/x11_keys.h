#pragma once
// X key symbols as the layer's keys: the virtual key, or VK_PACKET with the character for a key the layer has
// no virtual key for (punctuation, accented letters, shifted digits).

#include "platform/ui/backends/x11/xlib.h"
#include "platform/ui/types.h"

namespace kestrova::ui {

struct LayerKey {
    UINT virtualKey = 0;  // 0: nothing the layer knows
    wchar_t ch = 0;       // with VK_PACKET only
};

// `sym` is the symbol with the modifiers already applied (XLookupString), so a shifted "1" arrives as "!";
// `shift` and `capsLock` are the X server's state with the key. A letter or digit keeps its virtual key only
// when the layer, which makes characters from its own Shift and Caps Lock, would make the same character of
// it: a program that types may send a capital without Shift.
LayerKey LayerKeyOf(KeySym sym, bool shift, bool capsLock);

}  // namespace kestrova::ui
