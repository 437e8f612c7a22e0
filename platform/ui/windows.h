#pragma once
// The window tree: parents, owners and z-order, geometry, showing and hiding, the enabled state, the mouse
// (routing, capture, the cursor), the keyboard (focus, activation, keys and characters) and dialog keys.
//
// The layer draws no frames: a window's client area is the whole window, so window and client rectangles
// differ only in their origin.

#include "platform/ui/messages.h"

// Extended styles.
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_NOACTIVATE = 0x08000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_HSCROLL = 0x00100000;
inline constexpr uint32_t WS_GROUP = 0x00020000;

inline constexpr int CW_USEDEFAULT = int(0x80000000);

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos flags and places.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t(-2));

// GetWindow relations and GetAncestor kinds.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;
inline constexpr UINT GA_PARENT = 1;
inline constexpr UINT GA_ROOT = 2;
inline constexpr UINT GA_ROOTOWNER = 3;

// Hit-test codes (WM_NCHITTEST).
inline constexpr LRESULT HTERROR = -2;
inline constexpr LRESULT HTTRANSPARENT = -1;
inline constexpr LRESULT HTNOWHERE = 0;
inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTCAPTION = 2;

// WM_ACTIVATE states.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;
inline constexpr WPARAM WA_CLICKACTIVE = 2;

// Mouse message key flags.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
// WM_MOUSEWHEEL: the high word of wParam is the signed turn, this much a notch (positive away from the user).
inline constexpr int WHEEL_DELTA = 120;

// Virtual keys.
inline constexpr UINT VK_LBUTTON = 0x01;
inline constexpr UINT VK_RBUTTON = 0x02;
inline constexpr UINT VK_MBUTTON = 0x04;
inline constexpr UINT VK_BACK = 0x08;
inline constexpr UINT VK_TAB = 0x09;
inline constexpr UINT VK_RETURN = 0x0D;
inline constexpr UINT VK_SHIFT = 0x10;
inline constexpr UINT VK_CONTROL = 0x11;
inline constexpr UINT VK_MENU = 0x12;
inline constexpr UINT VK_CAPITAL = 0x14;
inline constexpr UINT VK_ESCAPE = 0x1B;
inline constexpr UINT VK_SPACE = 0x20;
inline constexpr UINT VK_PRIOR = 0x21;
inline constexpr UINT VK_NEXT = 0x22;
inline constexpr UINT VK_END = 0x23;
inline constexpr UINT VK_HOME = 0x24;
inline constexpr UINT VK_LEFT = 0x25;
inline constexpr UINT VK_UP = 0x26;
inline constexpr UINT VK_RIGHT = 0x27;
inline constexpr UINT VK_DOWN = 0x28;
inline constexpr UINT VK_INSERT = 0x2D;
inline constexpr UINT VK_DELETE = 0x2E;
inline constexpr UINT VK_F1 = 0x70;
inline constexpr UINT VK_PACKET = 0xE7;  // a typed character carried in the high word of lParam

// Dialog ids and WM_GETDLGCODE answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// System metrics.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;

// Standard cursors.
inline const wchar_t* const IDC_ARROW = MAKEINTRESOURCEW(32512);
inline const wchar_t* const IDC_IBEAM = MAKEINTRESOURCEW(32513);
inline const wchar_t* const IDC_WAIT = MAKEINTRESOURCEW(32514);
inline const wchar_t* const IDC_CROSS = MAKEINTRESOURCEW(32515);
inline const wchar_t* const IDC_SIZEALL = MAKEINTRESOURCEW(32646);
inline const wchar_t* const IDC_HAND = MAKEINTRESOURCEW(32649);

// Message beeps.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;

// Relations.
HWND GetParent(HWND hwnd);  // a child's parent, or a popup's owner
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetAncestor(HWND hwnd, UINT kind);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
LRESULT SendDlgItemMessageW(HWND parent, int id, UINT msg, WPARAM wParam, LPARAM lParam);
// The first window after `after` (null: from the first) among the top-level windows (parent null) or the
// children of `parent`, with that class (null: any) and that text (null: any).
HWND FindWindowExW(HWND parent, HWND after, const wchar_t* className, const wchar_t* windowName);
HWND FindWindowW(const wchar_t* className, const wchar_t* windowName);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
// Calls `proc` for every top-level window in z-order until it returns FALSE.
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);

// Text.
BOOL SetWindowTextW(HWND hwnd, const wchar_t* text);
int GetWindowTextW(HWND hwnd, wchar_t* buffer, int capacity);
int GetWindowTextLengthW(HWND hwnd);

// Geometry. Top-level windows are placed in screen coordinates, children in their parent's client ones.
BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect);  // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
int GetSystemMetrics(int index);

// Showing and the enabled state.
BOOL ShowWindow(HWND hwnd, int command);  // returns whether it was visible before
BOOL IsWindowVisible(HWND hwnd);          // it and all its ancestors
BOOL IsIconic(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns whether it was disabled before
BOOL IsWindowEnabled(HWND hwnd);

// The mouse.
HWND WindowFromPoint(POINT screen);  // the deepest visible, enabled window there
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);  // moves the pointer as the user would, with the mouse messages that follow
int ShowCursor(BOOL show);        // the display counter; the cursor shows while it is 0 or more
HCURSOR LoadCursorW(HINSTANCE instance, const wchar_t* name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
UINT GetDoubleClickTime();

// The keyboard, focus and activation.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
int16_t GetKeyState(int virtualKey);  // high bit: down
int16_t GetAsyncKeyState(int virtualKey);
// Dialog keys for `dialog` and its children: Enter sends WM_COMMAND IDOK, Escape IDCANCEL and Tab moves the
// focus between WS_TABSTOP controls, unless the focused control asks for them (WM_GETDLGCODE). Any other
// message of those windows is translated and dispatched. FALSE (nothing done) for messages of other windows.
BOOL IsDialogMessageW(HWND dialog, MSG* msg);

BOOL MessageBeep(UINT type);
void OutputDebugStringW(const wchar_t* text);
void OutputDebugStringA(const char* text);

// The system message box: a modal window with `caption` in its title band, `text` and an OK button, centred on
// `owner` (disabled meanwhile) or on the screen, sounding MessageBeep with the icon of `type`. Enter, Escape,
// the button or closing it end it with IDOK; 0 when the box could not be made. It stays above other windows,
// since it may come before any window of the program is there to show it.
int MessageBoxW(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
