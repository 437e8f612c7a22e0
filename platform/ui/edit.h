#pragma once
// The system "EDIT" class: a one-line or multi-line text field that the toolkit's framed edit wraps. Its
// styles go in the low word of the window style; it reports to its parent with WM_COMMAND, wParam =
// MAKEWPARAM(its id, the notification) and lParam = its own window.

#include "platform/ui/types.h"

// Styles.
inline constexpr uint32_t ES_LEFT = 0x0000;
inline constexpr uint32_t ES_CENTER = 0x0001;
inline constexpr uint32_t ES_MULTILINE = 0x0004;
inline constexpr uint32_t ES_LOWERCASE = 0x0010;    // typed and pasted letters become lower case
inline constexpr uint32_t ES_PASSWORD = 0x0020;     // one-line edits show the password character instead
inline constexpr uint32_t ES_AUTOHSCROLL = 0x0080;  // scrolls sideways instead of refusing what would not fit
inline constexpr uint32_t ES_READONLY = 0x0800;
inline constexpr uint32_t ES_WANTRETURN = 0x1000;  // a multi-line edit takes Enter even in a dialog
inline constexpr uint32_t ES_NUMBER = 0x2000;      // only digits can be typed or pasted

// Messages.
// wParam, lParam: DWORD* for the start and end of the selection (either may be null); returns both, start in
// the low word and end in the high one, each capped at 0xFFFF.
inline constexpr UINT EM_GETSEL = 0x00B0;
// Selects [wParam, lParam) and puts the caret at lParam; a negative end means the end of the text, a
// negative start removes the selection.
inline constexpr UINT EM_SETSEL = 0x00B1;
// The most characters the user may have in the field (0: as many as the layer holds). WM_SETTEXT is not
// held to it, so a longer stored text still shows whole.
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;  // wParam: the character; 0 shows the text as it is
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_GETLIMITTEXT = 0x00D5;

// Notifications.
inline constexpr uint16_t EN_SETFOCUS = 0x0100;
inline constexpr uint16_t EN_KILLFOCUS = 0x0200;
inline constexpr uint16_t EN_CHANGE = 0x0300;   // the text changed: edited by the user or set by WM_SETTEXT
inline constexpr uint16_t EN_MAXTEXT = 0x0501;  // an edit was refused or cut at the limit

namespace kestrova::ui {
// The limit of a new edit, in characters, and what a limit of 0 stands for.
inline constexpr UINT kDefaultEditLimit = 30000;
inline constexpr UINT kLargestEditLimit = 0x7FFFFFFE;
}  // namespace kestrova::ui
