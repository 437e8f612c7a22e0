#pragma once
// The window of the skinned message box (message_box.h). ShowMessageEx makes it with a MessageExCreation;
// the window lays itself out, makes its buttons and sounds its beep as it is created, and closes when a
// button is pressed or when it gets WM_CLOSE.

#include "platform/ui/types.h"
#include "toolkit/message_box.h"

namespace kestrova::toolkit {

inline constexpr wchar_t kMessageExClassName[] = L"BKV2MessageExWndClass";

// The creation parameter of a box.
struct MessageExCreation {
    MessageExParams params;
    // The owner a modal box disables while it shows, to enable again as it closes; null when there is none
    // or it was disabled already (then it stays so).
    HWND ownerToEnable = nullptr;
    // Where a modal box leaves its result as it goes; null for a non-modal box.
    int* result = nullptr;
};

// Whether the box's window has its object (it answers nothing without one).
bool MessageExWindowReady(HWND box);

}  // namespace kestrova::toolkit
