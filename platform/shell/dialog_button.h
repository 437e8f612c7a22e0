#pragma once
// The push buttons of the shell's dialogs: a framed face with its text, pressed by a click or by Space or
// Enter while it has the focus. A press reaches the parent as WM_COMMAND, MAKEWPARAM(id,
// kDialogButtonClicked).

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr uint16_t kDialogButtonClicked = 0;

// The class name, registered on first use.
const wchar_t* DialogButtonClass();

}  // namespace kestrova
