#include "app/windows/control_table.h"

#include <algorithm>

#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/choice.h"
#include "toolkit/factories.h"
#include "toolkit/label.h"
#include "toolkit/link.h"
#include "toolkit/text_fit.h"

namespace kestrova {
namespace {

constexpr int kHeadingFont = 15, kLabelFont = 13;

void CreateControl(HWND window, const ControlSpec& c) {
    switch (c.kind) {
        case ControlKind::Heading:
            CreateLabelEx(window, c.text, c.id, c.x, c.y, c.width, c.height, kHeadingFont, 0);
            return;
        case ControlKind::Label:
            CreateLabelEx(window, c.text, c.id, c.x, c.y, c.width, c.height, kLabelFont, 0);
            return;
        case ControlKind::CheckBox:
            CreateCheckBox(window, c.text, c.id, c.x, c.y);
            return;
        case ControlKind::Radio:
            CreateRadioButton(window, c.text, c.id, c.x, c.y);
            return;
        case ControlKind::Link:
            CreateLinkEx(window, c.text, c.id, c.x, c.y, c.width, c.height, c.icon);
            return;
    }
}

}  // namespace

void CreateControls(HWND window, std::span<const ControlSpec> controls) {
    for (const ControlSpec& control : controls) CreateControl(window, control);
}

bool IsChecked(HWND window, int id) {
    return SendDlgItemMessageW(window, id, kChoiceChecked, kPropertyRead, 0) != 0;
}

void SetChecked(HWND window, int id, bool checked) {
    SendDlgItemMessageW(window, id, kChoiceChecked, kPropertySetAndRepaint, checked ? 1 : 0);
}

bool InGroup(RadioGroup group, int id) {
    return std::any_of(group.begin(), group.end(), [id](const RadioChoice& c) { return c.id == id; });
}

void CheckRadio(HWND window, RadioGroup group, int id) {
    for (const RadioChoice& choice : group) SetChecked(window, choice.id, choice.id == id);
}

bool CheckRadioValue(HWND window, RadioGroup group, int32_t value) {
    const auto chosen =
        std::find_if(group.begin(), group.end(), [value](const RadioChoice& c) { return c.value == value; });
    if (chosen == group.end()) return false;
    CheckRadio(window, group, chosen->id);
    return true;
}

int32_t CheckedRadioValue(HWND window, RadioGroup group, int32_t otherwise) {
    for (const RadioChoice& choice : group)
        if (IsChecked(window, choice.id)) return choice.value;
    return otherwise;
}

std::wstring ItemText(HWND window, int id, int capacity) {
    HWND item = GetDlgItem(window, id);
    return item ? toolkit::ControlText(item, capacity) : std::wstring();
}

void SetItemText(HWND window, int id, const std::wstring& text) {
    HWND item = GetDlgItem(window, id);
    if (!item) return;
    SetWindowTextW(item, text.c_str());
    InvalidateRect(item, nullptr, FALSE);
}

}  // namespace kestrova
