#pragma once
// The mask window (class BKV2MaskWndClass, caption "Masking"): a camera's motion mask (areas motion
// detection ignores) and privacy mask (areas painted black in every stored frame), edited over a still of
// its picture as 10 x 10 cells: a left drag marks the rectangle of cells it spans, a right drag clears it.
// The main window opens it for the selected, powered camera and hands the masks to the device after OK.

#include <cstdint>

#include "engine/grids.h"
#include "platform/ui/gdi.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kMaskWindowClass[] = L"BKV2MaskWndClass";

struct MaskEditParams {
    int32_t type = 0;                 // the device's DeviceType, for the caller
    MaskGrid* motion = nullptr;       // read at the start, written on OK
    MaskGrid* privacy = nullptr;      // read at the start, written on OK
    const uint8_t* pixels = nullptr;  // the still: 24-bit bottom-up rows, each padded to 4 bytes
    BITMAPINFOHEADER header;
};

uint16_t RegisterMaskWindowClass();
// Edits the record's masks: 1 after OK with both written (whole 4 x 4 blocks), 0 with them as they were
// (always 0 without a record). A still that is not 24-bit bottom-up leaves the picture grey.
int ShowMaskWindow(HWND owner, MaskEditParams* params);

}  // namespace kestrova
