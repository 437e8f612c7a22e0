// Painting a list box: the scroll bar, then each item that needs it (by the parent for owner-drawn lists),
// then the background below the last item.

#include "platform/ui/gdi.h"
#include "platform/ui/listbox_window.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr int kTextIndent = 2;
constexpr int kFallbackHeight = 16;  // when no font can be measured

bool Overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

HFONT FontOf(HWND hwnd) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    return font ? font : GetStockObject(SYSTEM_FONT);
}

UINT StateOf(HWND hwnd, const ListBox& list, int index) {
    UINT state = 0;
    if (index == list.items.Selected()) state |= ODS_SELECTED;
    if (index == list.items.Caret() && GetFocus() == hwnd) state |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
    return state;
}

void DrawByParent(HWND hwnd, HDC hdc, const ListBox& list, int index, const RECT& place) {
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = UINT(GetDlgCtrlID(hwnd));
    draw.itemID = UINT(index);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = StateOf(hwnd, list, index);
    draw.hwndItem = hwnd;
    draw.hDC = hdc;
    draw.rcItem = place;
    draw.itemData = uintptr_t(list.items.At(index)->data);
    SendMessageW(GetParent(hwnd), WM_DRAWITEM, WPARAM(draw.CtlID), reinterpret_cast<LPARAM>(&draw));
}

void DrawString(HWND hwnd, HDC hdc, const ListBox& list, int index, const RECT& place) {
    UINT state = StateOf(hwnd, list, index);
    bool selected = state & ODS_SELECTED;
    FillRect(hdc, &place, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor((state & ODS_DISABLED) ? COLOR_GRAYTEXT
                                  : selected             ? COLOR_HIGHLIGHTTEXT
                                                         : COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = SelectObject(hdc, FontOf(hwnd));
    RECT text{place.left + kTextIndent, place.top, place.right, place.bottom};
    const std::wstring& s = list.items.At(index)->text;
    DrawTextW(hdc, s.c_str(), int(s.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(hdc, oldFont);
    if (state & ODS_FOCUS) FrameRect(hdc, &place, GetSysColorBrush(COLOR_GRAYTEXT));
}

}  // namespace

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc) return;
    ListBox* list = ListBoxOf(hwnd);
    if (!list) {
        EndPaint(hwnd, &ps);
        return;
    }
    ListBoxLayout layout = LayOut(hwnd, *list);
    if (layout.hasBar) PaintScrollBar(hdc, layout.bar, list->held);
    IntersectClipRect(hdc, layout.items.left, layout.items.top, layout.items.right, layout.items.bottom);
    bool ownerDrawn = IsOwnerDrawn(hwnd);
    int y = layout.items.top;
    // The parent may change the list while it draws an item, so each step looks at it afresh.
    for (int index = list->items.Top(); (list = ListBoxOf(hwnd)) && list->items.At(index); ++index) {
        RECT place = ItemRect(layout, *list, index);
        if (place.top >= layout.items.bottom) break;
        y = place.bottom;
        if (!Overlaps(place, ps.rcPaint)) continue;
        if (ownerDrawn)
            DrawByParent(hwnd, hdc, *list, index, place);
        else
            DrawString(hwnd, hdc, *list, index, place);
    }
    RECT rest{layout.items.left, y, layout.items.right, layout.items.bottom};
    if (rest.top < rest.bottom) FillRect(hdc, &rest, GetSysColorBrush(COLOR_WINDOW));
    EndPaint(hwnd, &ps);
}

int FontHeight(HWND hwnd) {
    HDC hdc = CreateCompatibleDC(nullptr);
    if (!hdc) return kFallbackHeight;
    HGDIOBJ old = SelectObject(hdc, FontOf(hwnd));
    TEXTMETRICW metrics;
    bool measured = GetTextMetricsW(hdc, &metrics) && metrics.tmHeight > 0;
    SelectObject(hdc, old);
    DeleteDC(hdc);
    return measured ? metrics.tmHeight : kFallbackHeight;
}

}  // namespace kestrova::ui
