#pragma once
// The fullscreen view, class BKV2FullscreenWndClass: one device's live picture over the whole screen, in a
// 4:3 picture centred on black. Each request opens a new view; a click with either button, or the loss of
// the focus (another window coming forward), closes it. Owned by the window that opened it. User-interface
// thread only.

#include <cstdint>

#include "platform/ui/messages.h"

namespace kestrova {

class Device;

inline constexpr wchar_t kFullscreenWindowClass[] = L"BKV2FullscreenWndClass";

BOOL RegisterFullscreenWindowClass();
// Opens a view of the device over the whole primary screen, owned by `owner`; 1 when it was made.
int ShowFullscreenWindow(HWND owner, Device* device);

// Where the picture goes on a `width` x `height` screen: as wide as 4:3 of the screen's height allows
// within its width, centred.
RECT FullscreenPicture(int width, int height);

class FullscreenWindow {
public:
    FullscreenWindow(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc, int width, int height) const;

    HWND window_;
    // Not owned: drawn only while the device list confirms it is the same device.
    Device* device_;
    uint64_t serial_;
};

}  // namespace kestrova
