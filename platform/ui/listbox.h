#pragma once
// The system "LISTBOX" class: a vertical list of items, each a string with a pointer-sized value, one of them
// selected. Owner-drawn lists (LBS_OWNERDRAWFIXED) leave painting to their parent (platform/ui/owner_draw.h);
// the others draw their strings themselves. WS_VSCROLL gives a scroll bar at the right edge of the client
// area while the items do not all fit. Notifications go to the parent as WM_COMMAND with
// MAKEWPARAM(id, code) and the list's handle.

#include "platform/ui/owner_draw.h"

// Styles.
inline constexpr uint32_t LBS_NOTIFY = 0x0001;  // tell the parent of selection changes and double clicks
inline constexpr uint32_t LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr uint32_t LBS_HASSTRINGS = 0x0040;  // an owner-drawn list keeps strings (else just values)
// Lists here never shrink to a whole number of rows; the style is accepted for the programs that ask.
inline constexpr uint32_t LBS_NOINTEGRALHEIGHT = 0x0100;
// Keys go to the parent first as WM_VKEYTOITEM: wParam = MAKEWPARAM(key, caret item), lParam = the list.
// An answer of -2 means the parent handled it; anything else lets the list act on the key.
inline constexpr uint32_t LBS_WANTKEYBOARDINPUT = 0x0400;

inline constexpr UINT WM_VKEYTOITEM = 0x002E;

// Messages. Indexes are 0-based; LB_ERR answers a bad index or a failed search.
inline constexpr LRESULT LB_ERR = -1;
inline constexpr UINT LB_ADDSTRING = 0x0180;     // lParam text; the new item's index
inline constexpr UINT LB_INSERTSTRING = 0x0181;  // wParam index (-1: the end), lParam text
inline constexpr UINT LB_DELETESTRING = 0x0182;  // wParam index; the count left
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETCURSEL = 0x0186;  // wParam index (-1: none); never notifies
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;     // wParam index, lParam a buffer of LB_GETTEXTLEN + 1
inline constexpr UINT LB_GETTEXTLEN = 0x018A;  // wParam index
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETTOPINDEX = 0x018E;
inline constexpr UINT LB_SETTOPINDEX = 0x0197;  // wParam index, scrolled as near the top as the list allows
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;  // wParam index, lParam value
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
// wParam: the item after which to start (-1: from the first), wrapping round; lParam: the text, compared
// whole and without regard to case.
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;

// Notification codes.
inline constexpr uint16_t LBN_SELCHANGE = 1;  // the user changed the selection
inline constexpr uint16_t LBN_DBLCLK = 2;     // the user double-clicked an item
