#pragma once
// Running a window of the shell's dialogs modally over its owner.

#include <functional>

#include "platform/ui/types.h"

namespace kestrova {

// Registers, once per process, the class of a shell dialog: arrow cursor, button-face background and a
// pointer's worth of extra bytes for its object. False when the class could not be registered.
bool RegisterDialogClass(const wchar_t* className, WNDPROC procedure);

// Where a dialog of `width` x `height` goes: centred over `owner`, or on the screen without one, and kept on
// the screen.
POINT DialogPlaceOver(HWND owner, int width, int height);

// The top-level window that a dialog over `hwnd` belongs to (null stays null).
HWND DialogOwner(HWND hwnd);

// Shows `dialog`, with `owner` (when there is one) disabled, and runs this thread's messages through the
// dialog keys until `finished` says so, WM_QUIT comes up (it stays queued for the loop it belongs to) or the
// dialog is gone. The owner is enabled again, if it was before, while the dialog still shows, so that it is
// the window activated when the caller destroys the dialog. True unless the loop was ended by WM_QUIT or
// the dialog vanished.
bool RunModal(HWND dialog, HWND owner, const std::function<bool()>& finished);

}  // namespace kestrova
