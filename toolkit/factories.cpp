#include "toolkit/factories.h"

#include "platform/ui/messages.h"
#include "toolkit/button.h"
#include "toolkit/choice.h"
#include "toolkit/framed_edit.h"
#include "toolkit/skin_ids.h"

namespace kestrova {
namespace {

void Set(HWND control, UINT property, LPARAM value) {
    SendMessageW(control, property, kPropertySet, value);
}

// The dialog button's skin and inset, which every text button starts from.
HWND CreateSkinnedButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height) {
    HWND button = CreateButtonEx(parent, text, id, x, y, width, height);
    Set(button, kButtonBackgroundBitmap, kButtonSkin);
    return button;
}

}  // namespace

HWND CreateDialogButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                        int inset) {
    HWND button = CreateSkinnedButton(parent, text, id, x, y, width, height);
    Set(button, kButtonHitInset, inset);
    return button;
}

HWND CreateDropDownButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                          int inset) {
    HWND button = CreateSkinnedButton(parent, text, id, x, y, width, height);
    Set(button, kButtonIcon2, kDropDownArrow);
    Set(button, kButtonIcon2Position, MAKELPARAM(10, 17));
    Set(button, kButtonHitInset, inset);
    Set(button, kButtonTextX, 10);
    return button;
}

HWND CreateCycleButton(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                       int maximum, int inset) {
    HWND button = CreateButtonEx(parent, text, id, x, y, width, height);
    Set(button, kButtonKind, kCycleButton);
    Set(button, kButtonBackgroundBitmap, kButtonSkin);
    Set(button, kButtonIcon1, kCycleLeftArrow);
    Set(button, kButtonIcon2, kCycleRightArrow);
    Set(button, kButtonIcon1Position, MAKELPARAM(10, 14));
    Set(button, kButtonIcon2Position, MAKELPARAM(10, 14));
    Set(button, kButtonHitInset, inset);
    Set(button, kButtonRange, MAKELPARAM(0, uint16_t(maximum)));
    return button;
}

HWND CreateRadioButton(HWND parent, const wchar_t* text, int id, int x, int y) {
    return CreateChoiceEx(parent, text, id, x, y, 0, 0, kChoiceGlyphs);
}

HWND CreateCheckBox(HWND parent, const wchar_t* text, int id, int x, int y) {
    // The kind goes to the new control itself, not to whichever child of the parent has that id.
    HWND box = CreateChoiceEx(parent, text, id, x, y, 0, 0, kChoiceGlyphs);
    Set(box, kChoiceKind, kCheckBox);
    return box;
}

HWND CreateDialogEdit(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                      int limit, uint32_t editStyles) {
    HWND edit = CreateEditEx(parent, text, id, x, y, width, height, editStyles);
    if (limit > 0) SendMessageW(edit, EM_LIMITTEXT, WPARAM(limit), 0);
    return edit;
}

}  // namespace kestrova
