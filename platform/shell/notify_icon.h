#pragma once
// Icons in the desktop's notification area. Each icon belongs to a window and an id; its mouse events come
// back to that window as its callback message, with wParam = the id and lParam = the mouse message
// (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
// WM_MBUTTONUP, WM_MOUSEMOVE). On X the icons dock into the system tray of the display.

#include <functional>

#include "platform/ui/types.h"

// The first layout of the record, which is the one the layer knows; cbSize is not checked (the program
// passes the first layout's size, 152).
struct NOTIFYICONDATAW {
    DWORD cbSize = 0;
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    wchar_t szTip[64] = {};  // at most 63 characters and a terminator
};

inline constexpr DWORD NOTIFYICONDATAW_V1_SIZE = 152;

inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;

// Which fields of the record an add or a modify takes.
inline constexpr UINT NIF_MESSAGE = 0x1;
inline constexpr UINT NIF_ICON = 0x2;
inline constexpr UINT NIF_TIP = 0x4;

// NIM_ADD shows a new icon: FALSE when the window already has one with that id, when there is no display or
// no notification area on it (said on the debug output). NIM_MODIFY changes the flagged fields of a shown
// icon, NIM_DELETE removes it; both FALSE for an icon that is not shown. Any thread may call it.
BOOL Shell_NotifyIconW(DWORD message, const NOTIFYICONDATAW* data);

namespace kestrova {

using NotifyIconHandler = std::function<BOOL(DWORD message, const NOTIFYICONDATAW& data)>;

// Replaces what Shell_NotifyIconW does (for tests); an empty handler restores the desktop's. Returns the
// handler it replaced (empty for the desktop's).
NotifyIconHandler SetNotifyIconHandler(NotifyIconHandler handler);

}  // namespace kestrova
