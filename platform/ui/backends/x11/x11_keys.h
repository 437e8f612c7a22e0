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

// `sym` is the symbol with the modifiers already applied (XLookupString), so a shifted "1" arrives as "!".
LayerKey LayerKeyOf(KeySym sym);

}  // namespace kestrova::ui
