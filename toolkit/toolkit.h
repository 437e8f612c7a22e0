#pragma once
// The toolkit's start: the program calls InitToolkit once, before it makes any window, and ends with "ERROR:
// Failed to initialize toolkit" when it fails.

#include "platform/ui/types.h"

namespace kestrova {

// Registers the toolkit's window classes in their fixed order and stops at the first that fails: 1 when all
// were registered, 0 otherwise. Each is a wide-character class with class style 0, no class extra bytes,
// pointer-sized window extra bytes (the control's object), the standard cursor of its kind, and no icon,
// background brush or menu.
//
// The order is WButtonEx_0000, WLabelEx_0000, WEditEx_0000, WSliderEx_0000, WChoiceEx_0000, WLinkEx_0000,
// WMenuEx_0000, WToolTipEx_0000.
BOOL InitToolkit();

}  // namespace kestrova
