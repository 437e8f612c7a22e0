#pragma once
// The push button of the system message box: a framed caption that sends WM_COMMAND with its id to its parent
// when clicked, or when Enter, Space or Escape reach it directly.

#include "platform/ui/types.h"

namespace kestrova::ui {

HWND CreateMessageBoxButton(HWND parent, int id, const wchar_t* caption, RECT rect);

}  // namespace kestrova::ui
