#pragma once
// WChoiceEx_0000, the toolkit's check box and radio button: a 13 x 14 glyph followed by its text, sized to
// the text whenever the text is set. A radio button does not know its group: the window that owns the group
// checks one and unchecks the others with CheckRadioGroup. The parent hears of every click on an enabled
// control by WM_COMMAND (its id, the control), after the check state changed, and reads the state with
// kChoiceChecked.

#include <cstdint>
#include <initializer_list>

#include "platform/ui/messages.h"
#include "toolkit/control_class.h"
#include "toolkit/property.h"

namespace kestrova {

// Property messages (property.h).
inline constexpr UINT kChoiceKind = WM_USER + 2;     // ChoiceKind
inline constexpr UINT kChoiceChecked = WM_USER + 3;  // 0 or 1

enum ChoiceKind : int32_t {
    kRadioButton = 0,  // a click checks it; a checked one stays checked
    kCheckBox = 1,     // a click flips it
};

// A visible child check box or radio button (kind set next) with that text and id at (x, y), which sizes
// itself to its text. `glyphBitmap` is the skin of its glyphs: 13 x 14 cells, the radio's column at x 0 and
// the check box's at x 13, rows normal, normal checked, hovered, hovered checked, disabled, disabled checked.
HWND CreateChoiceEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                    int glyphBitmap);

// Checks the parent's child `checkedId` and unchecks each further id, repainting them; the list of ids ends
// at the first 0: CheckRadioGroup(window, 1043, 1044, 1045, 0).
template <class... Ids>
void CheckRadioGroup(HWND parent, int checkedId, Ids... otherIds);

namespace toolkit {
extern const ControlClass kChoiceExClass;
void CheckRadioGroupOf(HWND parent, std::initializer_list<int> ids);
}  // namespace toolkit

template <class... Ids>
void CheckRadioGroup(HWND parent, int checkedId, Ids... otherIds) {
    toolkit::CheckRadioGroupOf(parent, {checkedId, int(otherIds)...});
}

}  // namespace kestrova
