#pragma once
// The About window (class BKV2AboutWndClass, caption "About"): the program's emblem, name and version, and
// an OK button. It edits nothing and always answers 0.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kAboutWindowClass[] = L"BKV2AboutWndClass";

uint16_t RegisterAboutWindowClass();
int ShowAboutWindow(HWND owner);

}  // namespace kestrova
