#pragma once
// A check box for the shell's dialogs: a small framed square with a tick when on. A click, or Space while it
// has the focus, turns it over and tells the parent with WM_COMMAND, wParam = MAKEWPARAM(its id, BN_CLICKED)
// and lParam = its own window. Its text is not drawn: the dialog writes the label beside it.

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kCheckBoxClass[] = L"KestrovaCheckBox";
// wParam: 1 on, 0 off; returns nothing.
inline constexpr UINT kCheckBoxSetCheck = WM_USER + 1;
// Returns 1 on, 0 off.
inline constexpr UINT kCheckBoxGetCheck = WM_USER + 2;

// Registers the class once per process; false when it cannot be.
bool RegisterCheckBoxClass();

}  // namespace kestrova
