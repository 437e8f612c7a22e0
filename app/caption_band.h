#pragma once
// The top band of the program's borderless windows drags them like a caption.

#include "platform/ui/types.h"

namespace kestrova {

// WM_NCHITTEST: the default answer, except that a client hit in the top 29 rows counts as the caption.
// Child controls in the band (the caption buttons) keep their own hits.
LRESULT CaptionBandHitTest(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace kestrova
