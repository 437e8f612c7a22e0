#include "app/windows/device_mark_list.h"

#include <vector>

#include "platform/ui/gdi.h"
#include "platform/ui/messages.h"
#include "platform/ui/windows.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"
#include "toolkit/skin.h"

namespace kestrova {
namespace {

constexpr int kListWidth = 224, kListHeight = 330;
constexpr int kGlyphX = 5, kGlyphY = 11, kGlyphWidth = 9, kGlyphHeight = 8;
constexpr int kTextLeft = 25, kTextRightInset = 3;
constexpr int kNameChars = 255;
constexpr COLORREF kItemTextColour = RGB(81, 81, 81);
constexpr COLORREF kItemBackground = RGB(255, 255, 255);

// The system list's own procedure, kept in each list's user data when the list is made.
WNDPROC PreviousProc(HWND list) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_USERDATA));
}

LRESULT MarkListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            // An empty list shows only its background.
            if (SendMessageW(list, LB_GETCOUNT, 0, 0) == 0) return DefWindowProcW(list, msg, wParam, lParam);
            break;
        case WM_KEYDOWN:
            return 0;  // the keyboard would move the selection, which toggles an item
        case WM_MOUSEMOVE:
            SetFocus(list);  // so the wheel scrolls the list under the mouse
            break;
    }
    return CallWindowProcW(PreviousProc(list), list, msg, wParam, lParam);
}

std::wstring ItemName(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::vector<wchar_t> text(size_t(length) + 1);
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return std::wstring(text.data()).substr(0, kNameChars);
}

}  // namespace

int GlyphForMark(int32_t deletedMark) {
    return deletedMark == 1 ? kCrossGlyph : kTickGlyph;
}

int32_t MarkForGlyph(int glyph) {
    return glyph == kCrossGlyph ? 1 : 0;
}

HWND CreateMarkList(HWND window, int id, int x, int y) {
    constexpr uint32_t style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                               LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT;
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", style, x, y, kListWidth, kListHeight, window,
                                uintptr_t(id), nullptr, nullptr);
    if (!list) return nullptr;
    const intptr_t previous = SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&MarkListProc));
    SetWindowLongPtrW(list, GWLP_USERDATA, previous);
    return list;
}

void InsertMarkItem(HWND list, const std::wstring& name, int glyph, ListEnd end) {
    const LRESULT index = SendMessageW(list, LB_INSERTSTRING, end == ListEnd::Top ? 0 : WPARAM(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
    if (index >= 0) SendMessageW(list, LB_SETITEMDATA, index, glyph);
}

ToggledItem ToggleSelectedItem(HWND list) {
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0) return {};
    const int glyph = SendMessageW(list, LB_GETITEMDATA, index, 0) == kTickGlyph ? kCrossGlyph : kTickGlyph;
    SendMessageW(list, LB_SETITEMDATA, index, glyph);
    InvalidateRect(list, nullptr, FALSE);
    // Without a selection, the next click on the same item toggles it again.
    SendMessageW(list, LB_SETCURSEL, WPARAM(-1), 0);
    return {ItemName(list, int(index)), glyph};
}

void DrawMarkItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == UINT(-1)) return;
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;  // a focus frame is not drawn
    const int width = item.rcItem.right, height = item.rcItem.bottom - item.rcItem.top;
    HDC dc = CreateCompatibleDC(item.hDC);
    toolkit::OwnedGdiObject picture(CreateCompatibleBitmap(item.hDC, width, height));
    {
        toolkit::SelectedObject selected(dc, picture.get());
        RECT all{0, 0, width, height};
        toolkit::OwnedGdiObject white(CreateSolidBrush(kItemBackground));
        FillRect(dc, &all, HBRUSH(white.get()));
        {
            toolkit::Skin glyph(dc, int(item.itemData));
            glyph.CopyTo(dc, kGlyphX, kGlyphY, kGlyphWidth, kGlyphHeight, 0, 0);
        }
        const std::wstring name = ItemName(item.hwndItem, int(item.itemID));
        toolkit::OwnedGdiObject font(CreateUiFont(L"Tahoma", 13, 0, 0));
        toolkit::SelectedObject selectedFont(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kItemTextColour);
        RECT text{kTextLeft, 0, width - kTextRightInset, height};
        DrawTextW(dc, name.c_str(), int(name.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        BitBlt(item.hDC, 0, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
    }
    DeleteDC(dc);
}

}  // namespace kestrova
