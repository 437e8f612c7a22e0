#pragma once
// What the "LISTBOX" class keeps for each list, and the helpers its procedure (listbox.cpp), its input
// (listbox_input.cpp) and its painting (listbox_paint.cpp) share. A list's state lives in its window's
// extra bytes; anything that sends a message to the parent may see the list destroyed or emptied, so code
// after such a call finds the state again by handle.

#include "platform/ui/listbox.h"
#include "platform/ui/listbox_items.h"
#include "platform/ui/listbox_scroll_bar.h"

namespace kestrova::ui {

struct ListBox {
    ListBoxItems items;
    int itemHeight = 16;
    // A press on the items: the selection before it, so the parent hears of a change when the press ends.
    bool tracking = false;
    int selectedAtPress = -1;
    // A press on the scroll bar: the part held, and for the thumb where in it the pointer took it.
    ScrollPart held = ScrollPart::None;
    int thumbGrab = 0;
    int wheelRest = 0;  // wheel travel short of a whole notch, kept for the next turn
};

// The list's state, or null once it is destroyed.
ListBox* ListBoxOf(HWND hwnd);

// Where things are in the client area: the items' column and, while the items do not all fit and the list
// has WS_VSCROLL, the scroll bar to its right.
struct ListBoxLayout {
    RECT items;
    bool hasBar = false;
    ScrollBarGeometry bar;
};
ListBoxLayout LayOut(HWND hwnd, const ListBox& list);
// An item's place in the client area (it may lie outside it).
RECT ItemRect(const ListBoxLayout& layout, const ListBox& list, int index);

bool IsOwnerDrawn(HWND hwnd);
// Owner-drawn lists without LBS_HASSTRINGS keep only the values given in place of strings.
bool KeepsStrings(HWND hwnd);

// Fits the page to the client height and the item height.
void FitPage(HWND hwnd, ListBox& list);
// Selects `index` (-1: none), brings it into view and repaints what changed; no notification.
void ChangeSelection(HWND hwnd, ListBox& list, int index);
// Scrolls so that `top` is the first item shown, repainting when it moves.
void ScrollTo(HWND hwnd, ListBox& list, int top);
void RepaintItem(HWND hwnd, const ListBox& list, int index);
// Tells the parent `code` when the list has LBS_NOTIFY.
void Notify(HWND hwnd, uint16_t code);

// Input. The timer repeats a scroll-bar arrow or page press while it is held.
inline constexpr UINT_PTR kRepeatTimer = 1;
void OnButtonDown(HWND hwnd, POINT point, bool doubleClick);
void OnMouseMove(HWND hwnd, POINT point);
// The press ends (button up, or the capture taken away): the parent hears of a changed selection.
void EndPress(HWND hwnd);
void OnRepeatTimer(HWND hwnd);
void OnWheel(HWND hwnd, int delta);
// False for keys the list does not use.
bool OnKeyDown(HWND hwnd, UINT key);

// WM_PAINT.
void Paint(HWND hwnd);
// The height of a line of text in the list's font.
int FontHeight(HWND hwnd);

}  // namespace kestrova::ui
