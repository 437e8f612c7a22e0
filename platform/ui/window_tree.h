#pragma once
// Helpers over the window tree shared by geometry, input, focus and painting. Call all of them with the
// table locked.

#include <functional>

#include "platform/ui/window_table.h"

namespace kestrova::ui {

// Where the window's client (0, 0) lies on the screen.
POINT ClientOriginLocked(const Window* w);
RECT ScreenRectLocked(const Window* w);
// The window and all its ancestors have WS_VISIBLE (message-only windows never show).
bool IsShownLocked(const Window* w);
// The window and all its ancestors are enabled.
bool IsEnabledChainLocked(const Window* w);
// The top-level window that `w` belongs to (itself when top-level).
Window* RootLocked(Window* w);
bool IsSelfOrDescendantLocked(HWND ancestor, HWND hwnd);
// The window the mouse is over at `screen`: the topmost shown top-level window whose rectangle and region
// hold the point, then down through its shown, enabled children. Null over the bare desktop.
Window* HitTestLocked(POINT screen);
// Moves a top-level window to the top of its band (topmost or not) and its owned windows above it, or a
// child to the top of its siblings.
void RaiseLocked(Window* w);
// Places a new top-level window at the top of its band.
void AddTopLevelLocked(Window* w);

// Starts dragging the top-level window of `hwnd` with the pointer, grabbed at the screen point `grab`, while
// the left button stays down. Call with the table unlocked.
void BeginCaptionDrag(HWND hwnd, POINT grab);

// Adds `area` (client coordinates; null for the whole client area) to the window's update region and, unless
// it clips its children, to theirs; wakes its thread to paint.
void InvalidateLocked(Window* w, const Region* area, bool erase);
// The first window of `queue`'s thread that needs painting and `matches`, parents before their children and
// top-level windows in z-order; null when none does (and then the queue stops asking).
Window* FindWindowToPaintLocked(ThreadQueue* queue, const std::function<bool(HWND)>& matches);
// Invalidates what `rectInParent` covers of the window's parent (for a child that moved or hid).
void InvalidateParentAreaLocked(Window* w, const RECT& rectInParent);

}  // namespace kestrova::ui
