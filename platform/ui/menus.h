#pragma once
// Menus: lists of commands, separators and submenus, built in code or loaded from the program's menu
// resources, and shown as popups by TrackPopupMenu.

#include "platform/ui/types.h"

// AppendMenuW kinds and the position flag.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Adds an item at the end: a command (MF_STRING, `idOrSubmenu` its id), a separator, or a submenu (MF_POPUP,
// `idOrSubmenu` the menu, which from then on belongs to this one).
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, const wchar_t* text);
// Destroys the menu and its submenus; a stale handle gives FALSE.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
int GetMenuItemCount(HMENU menu);  // -1 for a stale handle
// The command id at a position; -1 (as UINT) for a submenu, a separator's 0, or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The item's text cut to `capacity` characters with the terminator; the length copied (0 when not found).
int GetMenuStringW(HMENU menu, UINT item, wchar_t* buffer, int capacity, UINT flags);

// A menu resource of the program as a new menu (the caller destroys it), or null.
HMENU LoadMenuW(HINSTANCE instance, const wchar_t* name);

// Shows `menu` as a popup with its top-left corner at the screen point (moved to stay on the screen) and
// tracks the mouse and the keyboard until an item is chosen or the menu is dismissed (Escape, a click
// outside). A chosen command is posted to `owner` as WM_COMMAND, or returned with TPM_RETURNCMD (0 for
// none). Without TPM_RETURNCMD the result is TRUE when the menu was shown. `reserved` and `rect` are unused.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
