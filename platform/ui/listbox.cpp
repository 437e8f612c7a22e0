// The "LISTBOX" class: its procedure, its LB_ messages and the helpers the rest of the list shares.

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/ui/gdi.h"
#include "platform/ui/listbox_window.h"
#include "platform/ui/system_classes.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

uint32_t StyleOf(HWND hwnd) {
    return uint32_t(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

int IndexOf(WPARAM wParam) {
    return int(intptr_t(wParam));
}

ListItem ItemFrom(HWND hwnd, LPARAM lParam) {
    ListItem item;
    if (!KeepsStrings(hwnd))
        item.data = lParam;
    else if (lParam)
        item.text = reinterpret_cast<const wchar_t*>(lParam);
    return item;
}

// The list's items changed: the scroll bar may come or go, so everything is repainted.
void ContentChanged(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Create(HWND hwnd) {
    int height = FontHeight(hwnd);
    if (IsOwnerDrawn(hwnd)) {
        RECT client;
        GetClientRect(hwnd, &client);
        MEASUREITEMSTRUCT measure;
        measure.CtlType = ODT_LISTBOX;
        measure.CtlID = UINT(GetDlgCtrlID(hwnd));
        measure.itemWidth = UINT(client.right);
        measure.itemHeight = UINT(height);
        SendMessageW(GetParent(hwnd), WM_MEASUREITEM, WPARAM(measure.CtlID),
                     reinterpret_cast<LPARAM>(&measure));
        height = int(measure.itemHeight);
    }
    if (ListBox* list = ListBoxOf(hwnd)) {
        list->itemHeight = std::max(height, 1);
        FitPage(hwnd, *list);
    }
}

LRESULT GetText(HWND hwnd, const ListBox& list, int index, wchar_t* buffer) {
    const ListItem* item = list.items.At(index);
    if (!item || !buffer) return LB_ERR;
    if (!KeepsStrings(hwnd)) {
        std::memcpy(buffer, &item->data, sizeof item->data);
        return sizeof item->data;
    }
    std::wmemcpy(buffer, item->text.c_str(), item->text.size() + 1);
    return LRESULT(item->text.size());
}

LRESULT Find(HWND hwnd, const ListBox& list, int after, LPARAM lParam) {
    int found = KeepsStrings(hwnd)
                    ? list.items.FindText(after, lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"")
                    : list.items.FindData(after, lParam);
    return found >= 0 ? found : LB_ERR;
}

LRESULT ListMessage(HWND hwnd, ListBox& list, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            int index = list.items.Insert(msg == LB_ADDSTRING ? -1 : IndexOf(wParam), ItemFrom(hwnd, lParam));
            if (index < 0) return LB_ERR;
            ContentChanged(hwnd);
            return index;
        }
        case LB_DELETESTRING:
            if (!list.items.Remove(IndexOf(wParam))) return LB_ERR;
            ContentChanged(hwnd);
            return list.items.Count();
        case LB_RESETCONTENT:
            list.items.Clear();
            ContentChanged(hwnd);
            return 0;
        case LB_SETCURSEL: {
            int index = IndexOf(wParam);
            if (index != -1 && !list.items.At(index)) return LB_ERR;
            ChangeSelection(hwnd, list, index);
            return index == -1 ? LB_ERR : index;
        }
        case LB_GETCURSEL:
            return list.items.Selected() >= 0 ? list.items.Selected() : LB_ERR;
        case LB_GETTEXT:
            return GetText(hwnd, list, IndexOf(wParam), reinterpret_cast<wchar_t*>(lParam));
        case LB_GETTEXTLEN: {
            const ListItem* item = list.items.At(IndexOf(wParam));
            if (!item) return LB_ERR;
            return KeepsStrings(hwnd) ? LRESULT(item->text.size()) : LRESULT(sizeof item->data);
        }
        case LB_GETCOUNT:
            return list.items.Count();
        case LB_GETTOPINDEX:
            return list.items.Top();
        case LB_SETTOPINDEX:
            if (!list.items.At(IndexOf(wParam))) return LB_ERR;
            ScrollTo(hwnd, list, IndexOf(wParam));
            return 0;
        case LB_GETITEMDATA: {
            const ListItem* item = list.items.At(IndexOf(wParam));
            return item ? item->data : LB_ERR;
        }
        case LB_SETITEMDATA: {
            ListItem* item = list.items.At(IndexOf(wParam));
            if (!item) return LB_ERR;
            item->data = lParam;
            return TRUE;
        }
        case LB_GETITEMHEIGHT:
            return list.itemHeight;
        case LB_FINDSTRINGEXACT:
            return Find(hwnd, list, IndexOf(wParam), lParam);
    }
    return 0;
}

bool IsListMessage(UINT msg) {
    return msg >= LB_ADDSTRING && msg <= LB_FINDSTRINGEXACT;
}

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) SetWindowLongPtrW(hwnd, 0, reinterpret_cast<intptr_t>(new ListBox));
    ListBox* list = ListBoxOf(hwnd);
    if (!list) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (IsListMessage(msg)) return ListMessage(hwnd, *list, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE:
            Create(hwnd);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, 0, 0);
            delete list;
            return 0;
        case WM_SIZE:
            FitPage(hwnd, *list);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETFONT:
            DefWindowProcW(hwnd, msg, wParam, lParam);
            if (!IsOwnerDrawn(hwnd)) {
                list->itemHeight = FontHeight(hwnd);
                FitPage(hwnd, *list);
                InvalidateRect(hwnd, nullptr, TRUE);
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            RepaintItem(hwnd, *list, list->items.Caret());
            return 0;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            OnButtonDown(hwnd, PointOf(lParam), msg == WM_LBUTTONDBLCLK);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(hwnd, PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            EndPress(hwnd);
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer) OnRepeatTimer(hwnd);
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(hwnd, int16_t(HIWORD(wParam)));
            return 0;
        case WM_KEYDOWN:
            if (OnKeyDown(hwnd, UINT(wParam))) return 0;
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

ListBox* ListBoxOf(HWND hwnd) {
    return reinterpret_cast<ListBox*>(GetWindowLongPtrW(hwnd, 0));
}

bool IsOwnerDrawn(HWND hwnd) {
    return (StyleOf(hwnd) & LBS_OWNERDRAWFIXED) != 0;
}

bool KeepsStrings(HWND hwnd) {
    uint32_t style = StyleOf(hwnd);
    return !(style & LBS_OWNERDRAWFIXED) || (style & LBS_HASSTRINGS);
}

ListBoxLayout LayOut(HWND hwnd, const ListBox& list) {
    ListBoxLayout layout;
    RECT client;
    GetClientRect(hwnd, &client);
    layout.items = client;
    layout.hasBar = (StyleOf(hwnd) & WS_VSCROLL) && list.items.MaxTop() > 0;
    if (!layout.hasBar) return layout;
    RECT bar = client;
    bar.left = std::max(client.right - GetSystemMetrics(SM_CXVSCROLL), 0);
    layout.items.right = bar.left;
    layout.bar =
        LayOutScrollBar(bar, list.items.Top(), list.items.MaxTop(), list.items.Page(), list.items.Count());
    return layout;
}

RECT ItemRect(const ListBoxLayout& layout, const ListBox& list, int index) {
    int top = layout.items.top + (index - list.items.Top()) * list.itemHeight;
    return RECT{layout.items.left, top, layout.items.right, top + list.itemHeight};
}

void FitPage(HWND hwnd, ListBox& list) {
    RECT client;
    GetClientRect(hwnd, &client);
    list.items.SetPage(client.bottom / list.itemHeight);
}

void RepaintItem(HWND hwnd, const ListBox& list, int index) {
    if (!list.items.At(index)) return;
    RECT r = ItemRect(LayOut(hwnd, list), list, index);
    InvalidateRect(hwnd, &r, FALSE);
}

void ChangeSelection(HWND hwnd, ListBox& list, int index) {
    int selected = list.items.Selected(), caret = list.items.Caret(), top = list.items.Top();
    list.items.Select(index);
    list.items.ScrollIntoView(index);
    if (list.items.Top() != top) {
        InvalidateRect(hwnd, nullptr, TRUE);
        return;
    }
    // The caret follows a selected item, so the item that showed the focus changes too.
    for (int changed : {selected, caret, index}) RepaintItem(hwnd, list, changed);
}

void ScrollTo(HWND hwnd, ListBox& list, int top) {
    int before = list.items.Top();
    list.items.SetTop(top);
    if (list.items.Top() != before) InvalidateRect(hwnd, nullptr, TRUE);
}

void Notify(HWND hwnd, uint16_t code) {
    if (!(StyleOf(hwnd) & LBS_NOTIFY)) return;
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), code),
                 reinterpret_cast<LPARAM>(hwnd));
}

void RegisterListBoxClass() {
    WNDCLASSEXW wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ListBoxProc;
    wc.cbWndExtra = sizeof(ListBox*);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = L"LISTBOX";
    RegisterClassExW(&wc);
}

}  // namespace kestrova::ui
