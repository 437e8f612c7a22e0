#pragma once
// Enabling and disabling groups of a window's controls at once.

#include <initializer_list>

#include "platform/ui/types.h"

namespace kestrova {

// Enables (or disables) each of the parent's children with the listed ids; the list ends at the first 0 and
// an id without a child is skipped: EnableDlgItems(TRUE, window, 1041, 1042, 0).
template <class... Ids>
void EnableDlgItems(BOOL enable, HWND parent, Ids... ids);

namespace toolkit {
void EnableDlgItemsOf(BOOL enable, HWND parent, std::initializer_list<int> ids);
}

template <class... Ids>
void EnableDlgItems(BOOL enable, HWND parent, Ids... ids) {
    toolkit::EnableDlgItemsOf(enable, parent, {int(ids)...});
}

}  // namespace kestrova
