#include "toolkit/menu.h"

#include <utility>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"
#include "toolkit/hover.h"

namespace kestrova {

int ShowMenuEx(HWND owner, int x, int y, int width, const MenuItemList* list) {
    if (!list || list->Count() == 0) return 0;
    // The popup takes the copy's items over as it is made; whatever it did not take is freed here.
    MenuItemList items(*list);
    POINT at{x, y};
    ClientToScreen(owner, &at);
    constexpr int kProvisionalHeight = 300;
    HWND popup = CreateWindowExW(0, toolkit::kMenuExClass.name, L"", WS_POPUP, at.x, at.y, width,
                                 kProvisionalHeight, owner, 0, nullptr, &items);
    if (!popup) return 0;
    UpdateWindow(popup);
    ShowWindow(popup, SW_SHOW);
    return 1;
}

namespace toolkit {
namespace {

constexpr COLORREF kBorder = RGB(220, 220, 220);
constexpr COLORREF kHighlight = RGB(86, 121, 179);
constexpr COLORREF kHighlightCorner = RGB(170, 188, 217);
constexpr COLORREF kText = RGB(70, 70, 72);
constexpr COLORREF kHotText = RGB(255, 255, 255);
constexpr COLORREF kCaptionText = RGB(161, 161, 163);

constexpr int kMargin = 5;  // above the first row and below the last
constexpr int kRowHeight = 22, kSeparatorHeight = 11;
constexpr int kHighlightLeft = 30, kItemTextLeft = 38, kCaptionLeft = 13, kTextRightMargin = 13;
constexpr int kNoItem = -1;

int RowHeight(const MenuItem& item) {
    return item.kind == kMenuSeparator ? kSeparatorHeight : kRowHeight;
}

void DrawRowText(HDC dc, const MenuItem& item, int left, int right, int top) {
    if (!item.text[0]) return;
    RECT place{left, top, right, top + kRowHeight};
    DrawTextW(dc, item.text, -1, &place, DT_SINGLELINE | DT_VCENTER);
}

// What the popup is made with: the items ShowMenuEx copied for it, which it takes over.
MenuItemList TakeItems(const CREATESTRUCTW& create) {
    auto* items = static_cast<MenuItemList*>(create.lpCreateParams);
    return items ? MenuItemList(std::move(*items)) : MenuItemList();
}

// The check mark: a small triangle pointing right, left of the item's text.
void DrawCheckMark(HDC dc, int top, HBRUSH brush) {
    const RECT parts[] = {{14, top + 7, 16, top + 15},
                          {16, top + 8, 17, top + 14},
                          {17, top + 9, 18, top + 13},
                          {18, top + 10, 19, top + 12}};
    for (const RECT& part : parts) FillRect(dc, &part, brush);
}

}  // namespace

// The object behind each WMenuEx_0000 window, made on WM_NCCREATE so that it holds its items from the first
// message on.
class WMenuEx {
public:
    WMenuEx(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    void OnTimer(UINT_PTR id);
    void OnMouseMove();
    void OnLButtonDown();
    // The index of the selectable item whose row holds client y, or kNoItem.
    int ItemAt(int y) const;
    void Paint(HDC dc, int width, int height) const;
    void PaintItem(HDC dc, const MenuItem& item, int width, int top) const;

    HWND window_;
    OwnedGdiObject font_;
    OwnedGdiObject border_;
    OwnedGdiObject highlight_;
    MenuItemList items_;
    int hot_ = kNoItem;
    Hover hover_;
};

const ControlClass kMenuExClass{L"WMenuEx_0000", IDC_ARROW,
                                ControlWindowProc<WMenuEx, ObjectCreatedOn::NcCreate>};

WMenuEx::WMenuEx(HWND window, const CREATESTRUCTW& create)
    : window_(window),
      font_(CreateUiFont(L"Tahoma", 13, 0, 0)),
      border_(CreateSolidBrush(kBorder)),
      highlight_(CreateSolidBrush(kHighlight)),
      items_(TakeItems(create)) {}

LRESULT WMenuEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_KILLFOCUS:
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            return 0;
        case WM_PAINT:
            PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_TIMER:
            OnTimer(UINT_PTR(wParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 1;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

// The popup keeps its width and takes the height of its rows, with the four corner pixels cut away.
void WMenuEx::OnCreate() {
    int height = 2 * kMargin;
    for (const MenuItem* item = items_.First(); item; item = item->next) height += RowHeight(*item);
    RECT window;
    GetWindowRect(window_, &window);
    const int width = window.right - window.left;
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HRGN shape = CreateRectRgn(0, 0, width + 1, height + 1);
    for (const POINT corner :
         {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}}) {
        OwnedGdiObject pixel(CreateRectRgn(corner.x, corner.y, corner.x + 1, corner.y + 1));
        CombineRgn(shape, shape, pixel.get(), RGN_XOR);
    }
    SetWindowRgn(window_, shape, FALSE);
}

void WMenuEx::OnTimer(UINT_PTR id) {
    if (id != kHoverTimer || !hover_.Poll(window_, CursorOn(window_).overControl)) return;
    hot_ = kNoItem;  // Poll has invalidated the popup
}

void WMenuEx::OnMouseMove() {
    const CursorPlace cursor = CursorOn(window_);
    hover_.Enter(window_, cursor.overControl);
    const int hot = ItemAt(cursor.client.y);
    if (hot == hot_) return;
    hot_ = hot;
    InvalidateRect(window_, nullptr, FALSE);
}

void WMenuEx::OnLButtonDown() {
    if (hot_ == kNoItem) return;  // a caption, a separator or the margins
    const MenuItem* item = items_.First();
    while (item && item->index != hot_) item = item->next;
    if (!item) return;
    // The owner may do anything with the command, even take the focus and so close the popup already.
    const HWND window = window_;
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(uint16_t(item->commandId), uint16_t(item->index)),
                 0);
    if (IsWindow(window)) DestroyWindow(window);
}

int WMenuEx::ItemAt(int y) const {
    int top = kMargin;
    for (const MenuItem* item = items_.First(); item; item = item->next) {
        const int bottom = top + RowHeight(*item);
        if (y >= top && y < bottom) return item->kind == kMenuCommand ? item->index : kNoItem;
        top = bottom;
    }
    return kNoItem;
}

void WMenuEx::Paint(HDC dc, int width, int height) const {
    RECT frame{0, 0, width, height};
    FillRect(dc, &frame, HBRUSH(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &frame, border_.get());
    frame = RECT{1, 1, width - 1, height - 1};
    FrameRect(dc, &frame, border_.get());

    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    int top = kMargin;
    for (const MenuItem* item = items_.First(); item; item = item->next) {
        PaintItem(dc, *item, width, top);
        top += RowHeight(*item);
    }
}

void WMenuEx::PaintItem(HDC dc, const MenuItem& item, int width, int top) const {
    const int right = width - kMargin;
    switch (item.kind) {
        case kMenuCommand: {
            if (item.checked) DrawCheckMark(dc, top, highlight_.get());
            const bool hot = item.index == hot_;
            if (hot) {
                const RECT bar{kHighlightLeft, top, right, top + kRowHeight};
                FillRect(dc, &bar, highlight_.get());
                for (const POINT corner :
                     {POINT{bar.left, bar.top}, POINT{bar.right - 1, bar.top},
                      POINT{bar.left, bar.bottom - 1}, POINT{bar.right - 1, bar.bottom - 1}})
                    SetPixel(dc, corner.x, corner.y, kHighlightCorner);
                SetTextColor(dc, kHotText);
            }
            DrawRowText(dc, item, kItemTextLeft, width - kTextRightMargin, top);
            SetTextColor(dc, kText);
            return;
        }
        case kMenuCaption:
            SetTextColor(dc, kCaptionText);
            DrawRowText(dc, item, kCaptionLeft, width - kTextRightMargin, top);
            SetTextColor(dc, kText);
            return;
        case kMenuSeparator: {
            const RECT line{kHighlightLeft, top + 5, right, top + 6};
            FillRect(dc, &line, border_.get());
            return;
        }
    }
}

}  // namespace toolkit
}  // namespace kestrova
