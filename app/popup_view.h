#pragma once
// The popup view, class BKV2PopupWndClass: a small skinned topmost window with one device's live picture
// under its name, at most one per device. The alarm's preview action and the display window's popup button
// open it; it lives until its close button, and shows light grey once its device is stopped or gone. Its
// "Stay on top" box lets other windows cover it. User-interface thread only.

#include <cstdint>
#include <string>

#include "platform/ui/messages.h"
#include "toolkit/gdi_object.h"

namespace kestrova {

class Device;

inline constexpr wchar_t kPopupWindowClass[] = L"BKV2PopupWndClass";
inline constexpr int kPopupCloseId = 1026;
inline constexpr int kPopupStayOnTopId = 1027;
inline constexpr int kPopupWidth = 370, kPopupHeight = 345;
// The picture area, 320 x 240.
inline constexpr RECT kPopupPicture{25, 55, 345, 295};
// The picture area without a picture.
inline constexpr COLORREF kPopupNoPicture = RGB(192, 192, 192);

BOOL RegisterPopupWindowClass();

class PopupWindow {
public:
    PopupWindow(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Brings the device's popup forward (0), or opens one (1; 0 when it cannot be made). The program passes
    // no owner, so that a popup stays when the window that opened it goes.
    static int Show(HWND owner, Device* device);
    // The device's popup, or null.
    static HWND Find(Device* device);

private:
    void OnCreate();
    void OnCommand(int id);
    void Paint(HDC dc, int width, int height) const;

    HWND window_;
    // Not owned: drawn only while the device list confirms it is the same device.
    Device* device_;
    uint64_t serial_;
    std::wstring name_;  // as it was when the popup opened, so that it stays when the device goes
    toolkit::OwnedGdiObject captionFont_;
};

}  // namespace kestrova
