// The list box's mouse and keys: choosing an item by pointer or keyboard, the scroll bar, the wheel.

#include <algorithm>
#include <optional>

#include "platform/ui/listbox_window.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr UINT kRepeatDelayMs = 400;
constexpr UINT kRepeatEveryMs = 50;
constexpr int kRowsPerNotch = 3;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The item at a client point of the items' column, or -1 below the last one.
int ItemAt(const ListBoxLayout& layout, const ListBox& list, POINT point) {
    if (!Contains(layout.items, point)) return -1;
    int index = list.items.Top() + (point.y - layout.items.top) / list.itemHeight;
    return index < list.items.Count() ? index : -1;
}

void ScrollByPart(HWND hwnd, ListBox& list, ScrollPart part) {
    int top = list.items.Top(), page = list.items.Page();
    switch (part) {
        case ScrollPart::LineUp:
            ScrollTo(hwnd, list, top - 1);
            break;
        case ScrollPart::LineDown:
            ScrollTo(hwnd, list, top + 1);
            break;
        case ScrollPart::PageUp:
            ScrollTo(hwnd, list, top - page);
            break;
        case ScrollPart::PageDown:
            ScrollTo(hwnd, list, top + page);
            break;
        case ScrollPart::None:
        case ScrollPart::Thumb:
            break;
    }
}

void RepaintBar(HWND hwnd, const ListBox& list) {
    ListBoxLayout layout = LayOut(hwnd, list);
    if (!layout.hasBar) return;
    RECT bar{layout.items.right, layout.items.top, layout.bar.track.right, layout.items.bottom};
    InvalidateRect(hwnd, &bar, FALSE);
}

void PressScrollBar(HWND hwnd, ListBox& list, const ScrollBarGeometry& bar, POINT point) {
    ScrollPart part = HitScrollBar(bar, point);
    if (part == ScrollPart::None) return;
    SetCapture(hwnd);
    list.held = part;
    if (part == ScrollPart::Thumb) {
        list.thumbGrab = point.y - bar.thumb.top;
    } else {
        ScrollByPart(hwnd, list, part);
        SetTimer(hwnd, kRepeatTimer, kRepeatDelayMs, nullptr);
    }
    RepaintBar(hwnd, list);
}

// Where a key takes the selection from `from` (the selected item, else the caret), before it is kept within
// the items; nothing for keys the list does not use.
std::optional<int> TargetOfKey(const ListBox& list, UINT key, int from, bool nothingSelected) {
    int top = list.items.Top(), step = std::max(list.items.Page() - 1, 1);
    int lastShown = top + list.items.Page() - 1;
    switch (key) {
        case VK_UP:
            return nothingSelected ? from : from - 1;
        case VK_DOWN:
            return nothingSelected ? from : from + 1;
        case VK_HOME:
            return 0;
        case VK_END:
            return list.items.Count() - 1;
        case VK_PRIOR:  // to the first item shown, and from there a page further
            return from > top ? top : from - step;
        case VK_NEXT:
            return from < lastShown ? lastShown : from + step;
    }
    return std::nullopt;
}

}  // namespace

void OnButtonDown(HWND hwnd, POINT point, bool doubleClick) {
    SetFocus(hwnd);
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return;
    ListBoxLayout layout = LayOut(hwnd, *list);
    if (layout.hasBar && point.x >= layout.items.right) {
        PressScrollBar(hwnd, *list, layout.bar, point);
        return;
    }
    int index = ItemAt(layout, *list, point);
    if (doubleClick) {
        // No capture here: the parent may well open a modal window on the double click.
        if (index < 0) return;
        bool changed = index != list->items.Selected();
        ChangeSelection(hwnd, *list, index);
        if (changed) Notify(hwnd, LBN_SELCHANGE);
        Notify(hwnd, LBN_DBLCLK);
        return;
    }
    SetCapture(hwnd);
    list->tracking = true;
    list->selectedAtPress = list->items.Selected();
    if (index >= 0) ChangeSelection(hwnd, *list, index);
}

void OnMouseMove(HWND hwnd, POINT point) {
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return;
    ListBoxLayout layout = LayOut(hwnd, *list);
    if (list->tracking) {
        int index = ItemAt(layout, *list, point);
        if (index >= 0 && index != list->items.Selected()) ChangeSelection(hwnd, *list, index);
    } else if (list->held == ScrollPart::Thumb && layout.hasBar) {
        ScrollTo(hwnd, *list, TopForThumb(layout.bar, point.y - list->thumbGrab, list->items.MaxTop()));
    }
}

void EndPress(HWND hwnd) {
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return;
    bool changed = list->tracking && list->items.Selected() != list->selectedAtPress;
    list->tracking = false;
    if (list->held != ScrollPart::None) {
        list->held = ScrollPart::None;
        KillTimer(hwnd, kRepeatTimer);
        RepaintBar(hwnd, *list);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    if (changed) Notify(hwnd, LBN_SELCHANGE);
}

void OnRepeatTimer(HWND hwnd) {
    ListBox* list = ListBoxOf(hwnd);
    if (!list || list->held == ScrollPart::None || list->held == ScrollPart::Thumb) {
        KillTimer(hwnd, kRepeatTimer);
        return;
    }
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(hwnd, &pointer);
    ListBoxLayout layout = LayOut(hwnd, *list);
    // The page parts shrink as the thumb comes under the pointer; the repeat waits while it is elsewhere.
    if (layout.hasBar && HitScrollBar(layout.bar, pointer) == list->held)
        ScrollByPart(hwnd, *list, list->held);
    SetTimer(hwnd, kRepeatTimer, kRepeatEveryMs, nullptr);
}

void OnWheel(HWND hwnd, int delta) {
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return;
    list->wheelRest += delta;
    int notches = list->wheelRest / WHEEL_DELTA;
    list->wheelRest -= notches * WHEEL_DELTA;
    ScrollTo(hwnd, *list, list->items.Top() - notches * kRowsPerNotch);
}

bool OnKeyDown(HWND hwnd, UINT key) {
    if (GetWindowLongPtrW(hwnd, GWL_STYLE) & LBS_WANTKEYBOARDINPUT) {
        ListBox* list = ListBoxOf(hwnd);
        WPARAM wParam = MAKEWPARAM(uint16_t(key), uint16_t(list ? list->items.Caret() : 0));
        if (SendMessageW(GetParent(hwnd), WM_VKEYTOITEM, wParam, reinterpret_cast<LPARAM>(hwnd)) == -2)
            return true;
    }
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return true;
    int count = list->items.Count();
    bool nothingSelected = list->items.Selected() < 0;
    int from = nothingSelected ? list->items.Caret() : list->items.Selected();
    std::optional<int> target = TargetOfKey(*list, key, from, nothingSelected);
    if (!target) return false;
    if (count == 0) return true;
    int index = std::clamp(*target, 0, count - 1);
    bool changed = index != list->items.Selected();
    ChangeSelection(hwnd, *list, index);  // an unchanged selection is still brought back into view
    if (changed) Notify(hwnd, LBN_SELCHANGE);
    return true;
}

}  // namespace kestrova::ui
