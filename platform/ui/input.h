#pragma once
// The user's input as a backend or the test driver hands it to the layer: pointer moves, button presses and
// keys at the desktop's level. The layer routes them to windows (capture, z-order, regions, the disabled
// state, the focus) and queues the messages on the windows' threads.

#include <functional>

#include "platform/ui/types.h"

namespace kestrova::ui {

enum class MouseButton { Left, Right, Middle };

void InjectMouseMove(POINT screen);
void InjectMouseButton(MouseButton button, bool down);
// `ch` travels with VK_PACKET: a typed character without a key of its own.
void InjectKey(UINT virtualKey, bool down, wchar_t ch = 0);
// A turn of the wheel (WHEEL_DELTA a notch) for the window under the pointer, or the one holding the capture.
void InjectMouseWheel(int delta);

// Sends the keys to `hwnd` instead of the focus until it is called with null, without moving the focus or
// the activation: a popup menu reads the keyboard while its owner stays active.
void SetKeyboardGrab(HWND hwnd);

void SetScreenSize(int width, int height);

// Where MessageBeep goes (by default nowhere); returns the one it replaced.
using BeepSink = std::function<void(UINT type)>;
BeepSink SetBeepSink(BeepSink sink);

}  // namespace kestrova::ui
