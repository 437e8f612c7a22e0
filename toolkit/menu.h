#pragma once
// WMenuEx_0000, the toolkit's popup menu: a white borderless popup with a double light-grey frame and cut
// corners that lists the items, captions and separators of a MenuItemList, lights the item under the
// cursor, and on a click sends the chosen command to its owner and closes. It closes without a command when
// it loses the keyboard focus, so a click anywhere else (or another window coming to the front) dismisses
// it.
//
// The owner hears of the choice by WM_COMMAND with wParam = MAKEWPARAM(the item's command id, the item's
// index) and lParam = 0, and reads the text with MenuItemList::GetText on its own list.

#include "platform/ui/types.h"
#include "toolkit/control_class.h"
#include "toolkit/menu_item_list.h"

namespace kestrova {

// Opens a popup of `width` at (x, y) of the owner's client area, holding a copy of `list`, and returns at
// once: 1 when it opened, 0 when the list is null or empty (nothing opens). The popup becomes the active
// window and takes the keyboard focus.
int ShowMenuEx(HWND owner, int x, int y, int width, const MenuItemList* list);

namespace toolkit {
extern const ControlClass kMenuExClass;
}

}  // namespace kestrova
