#pragma once
// The caption band of a property window: its top 29 rows drag the window, except where a control (the close
// button) lies over them.

#include "platform/ui/types.h"

namespace kestrova {

// For WM_NCHITTEST: the default answer, turned into HTCAPTION for a client point above the band's end.
LRESULT CaptionHitTest(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace kestrova
