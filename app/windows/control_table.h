#pragma once
// The property windows' layout helpers: controls made from a table that reads like the window's own list,
// and reading and setting check boxes, radio groups and texts by id. A control the window does not have (a
// microphone's alarm window has no "Photo") reads as unchecked and empty, and setting it does nothing.

#include <cstdint>
#include <span>
#include <string>

#include "platform/ui/types.h"

namespace kestrova {

enum class ControlKind {
    Heading,   // a label in Tahoma 15
    Label,     // a label in Tahoma 13
    CheckBox,  // sized to its text
    Radio,     // sized to its text
    Link,      // a link, with the icon `icon` (0: none)
};

// One control of a window: width and height 0 let a label or link size itself to its text.
struct ControlSpec {
    ControlKind kind;
    int id;
    const wchar_t* text;
    int x, y;
    int width = 0, height = 0;
    int icon = 0;
};

// Makes the controls in the table's order.
void CreateControls(HWND window, std::span<const ControlSpec> controls);

bool IsChecked(HWND window, int id);
// Sets a check box or radio and repaints it.
void SetChecked(HWND window, int id, bool checked);

// A radio button of a group and the value it stands for.
struct RadioChoice {
    int id;
    int32_t value;
};
using RadioGroup = std::span<const RadioChoice>;

bool InGroup(RadioGroup group, int id);
// Checks `id` and unchecks the group's others.
void CheckRadio(HWND window, RadioGroup group, int id);
// Checks the radio that stands for `value`; false, with the group as it was, when none does.
bool CheckRadioValue(HWND window, RadioGroup group, int32_t value);
// The value of the first checked radio of the group, or `otherwise` when none is checked.
int32_t CheckedRadioValue(HWND window, RadioGroup group, int32_t otherwise);

// A control's text, cut to `capacity` - 1 characters as a buffer of that capacity would take it.
std::wstring ItemText(HWND window, int id, int capacity);
// Sets a control's text and repaints it (a label or link fits itself to it).
void SetItemText(HWND window, int id, const std::wstring& text);

}  // namespace kestrova
