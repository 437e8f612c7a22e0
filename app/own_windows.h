#pragma once
// Finding the program's own top-level windows by their class. The window system lists only the windows of
// this process, so another program's window of the same class is never found or closed.

#include <string_view>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova {

// In z-order, topmost first.
std::vector<HWND> OwnWindowsOfClass(std::wstring_view className);
// Destroys each of them; one that went with an earlier one (an owned window) is skipped.
void DestroyOwnWindowsOfClass(std::wstring_view className);

}  // namespace kestrova
