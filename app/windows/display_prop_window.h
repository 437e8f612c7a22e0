#pragma once
// The display properties window (class BKV2DisplayPropWndClass, caption "Display"): how many video streams
// the display window shows at once, 1, 4, 9, 16 or 25. The main window opens it on its copy of the setting
// and stores the value after OK.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kDisplayPropWindowClass[] = L"BKV2DisplayPropWndClass";

uint16_t RegisterDisplayPropWindowClass();
// Edits `streams` in place (null: the window only shows the default). 1 after OK, else 0; a value that is
// not one of the five opens as 1.
int ShowDisplayPropWindow(HWND owner, int32_t* streams);

}  // namespace kestrova
