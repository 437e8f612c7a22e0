#pragma once
// WEditEx_0000, the toolkit's text field: a light grey framed box around a system "EDIT" child that does the
// editing, showing a grey cue text (a hint of the expected input) whenever the field is empty and not being
// edited. The field's text lives in the inner edit: WM_SETTEXT, WM_GETTEXT (so SetWindowTextW and
// GetWindowTextW), WM_GETTEXTLENGTH and the edit messages below are passed on to it. Every notification of
// the inner edit reaches the parent as WM_COMMAND with MAKEWPARAM(the field's id, the EN_ code) and the
// field's own window.

#include "platform/ui/edit.h"
#include "platform/ui/messages.h"
#include "toolkit/control_class.h"

namespace kestrova {

// Style bits of the inner edit, in lParam: a non-zero low word of wParam adds them, a zero one removes them;
// a non-zero high word repaints. Answers 0; there is no reading form.
inline constexpr UINT kEditStyleBits = WM_USER + 2;
// The cue text: a non-zero low word of wParam sets it from the string at lParam (its first 250 characters);
// a zero low word copies it into the buffer at lParam, whose capacity in characters, terminator included,
// is the high word of wParam. Answers 0.
inline constexpr UINT kEditCueText = WM_USER + 3;
inline constexpr int kCueTextLimit = 250;

// The inner edit's control id.
inline constexpr int kInnerEditId = 1026;

// A visible child field with that text, id and place. `editStyles` are extra styles of the inner edit
// (ES_PASSWORD, ES_NUMBER | ES_CENTER); a field at least 46 pixels high is multi-line, a lower one scrolls
// sideways.
HWND CreateEditEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                  uint32_t editStyles);

namespace toolkit {
extern const ControlClass kEditExClass;
}

}  // namespace kestrova
