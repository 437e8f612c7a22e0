#pragma once
// The menus behind HMENU handles, for the popup that shows them.

#include <string>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova::ui {

// One item of a menu as the popup shows it: a command, a separator or a submenu with its own items.
struct MenuEntry {
    UINT flags = 0;  // MF_STRING, MF_SEPARATOR or MF_POPUP, with MF_GRAYED
    UINT id = 0;
    std::wstring text;
    std::vector<MenuEntry> submenu;
};

// A copy of the menu's items with their submenus; false for a stale handle. The popup works on a copy so
// that a menu changed or destroyed while it shows cannot pull its items away.
bool CopyMenuEntries(HMENU menu, std::vector<MenuEntry>* out);

}  // namespace kestrova::ui
