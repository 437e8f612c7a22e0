#pragma once
// The program's bitmaps, icons and menus by resource id (platform/base/resources.h holds them).

#include "platform/ui/types.h"

// A bitmap resource as a new bitmap object (the caller deletes it); every handle shares the decoded pixels
// until one is drawn into. Null when there is no such resource. `instance` is not used: the program has one
// module.
HBITMAP LoadBitmapW(HINSTANCE instance, const wchar_t* name);

// An icon resource of the program, or a standard icon (IDI_...). Icons live as long as the program;
// DestroyIcon is accepted and does nothing.
HICON LoadIconW(HINSTANCE instance, const wchar_t* name);
BOOL DestroyIcon(HICON icon);
inline const wchar_t* const IDI_APPLICATION = MAKEINTRESOURCEW(32512);

namespace kestrova::ui {
class Surface;
// The pixels of an icon (for backends that show it), or null.
const Surface* IconPixels(HICON icon);
}  // namespace kestrova::ui
