#include "toolkit/tooltip.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"

namespace kestrova {

HWND ShowToolTipEx(HWND owner, HWND anchor, const wchar_t* text) {
    HWND tip = CreateWindowExW(0, toolkit::kToolTipExClass.name, text, WS_POPUP, 0, 0, 0, 0, owner, 0,
                               nullptr, anchor);
    if (!tip) return nullptr;
    UpdateWindow(tip);
    ShowWindow(tip, SW_SHOWNA);
    return tip;
}

namespace toolkit {
namespace {

constexpr COLORREF kBackground = RGB(51, 51, 51);
constexpr COLORREF kText = RGB(255, 255, 255);
// The text stands 9 pixels in from the balloon's left and top (the body starts below the 5-row arrow); the
// balloon is 18 pixels wider and 23 higher than its text, and its top is 3 pixels below the anchor.
constexpr int kTextLeft = 9, kTextTop = 14, kExtraWidth = 18, kExtraHeight = 23, kGapBelowAnchor = 3;
constexpr int kArrowRows = 5;

}  // namespace

// The object behind each WToolTipEx_0000 window: it places and shapes the balloon when it is made.
class WToolTipEx {
public:
    WToolTipEx(HWND window, const CREATESTRUCTW& create);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    SIZE MeasureText() const;
    void PlaceUnder(HWND anchor) const;
    void Shape() const;
    void Paint(HDC dc, int width, int height) const;

    HWND window_;
    OwnedGdiObject background_;
    OwnedGdiObject font_;
    std::wstring text_;
};

const ControlClass kToolTipExClass{
    L"WToolTipEx_0000", IDC_ARROW,
    ControlWindowProc<WToolTipEx, ObjectCreatedOn::Create, CreationName::KeptByObject>};

WToolTipEx::WToolTipEx(HWND window, const CREATESTRUCTW& create)
    : window_(window),
      background_(CreateSolidBrush(kBackground)),
      font_(CreateUiFont(L"Arial", 14, 1, 1)),
      text_(create.lpszName ? create.lpszName : L"") {
    PlaceUnder(static_cast<HWND>(create.lpCreateParams));
    Shape();
}

LRESULT WToolTipEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // The balloon belongs to a window the user may want back in front; the balloon, topmost, stays.
            BringWindowToTop(GetParent(window_));
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

// The widest line, and the height of all lines (the last line's height for each).
SIZE WToolTipEx::MeasureText() const {
    HDC dc = GetDC(nullptr);  // a screen context: the balloon has no size yet
    SIZE text{0, 0};
    int lineFeeds = 0;
    {
        SelectedObject font(dc, font_.get());
        const std::wstring_view all(text_);
        for (size_t start = 0;; ++lineFeeds) {
            const size_t end = std::min(all.find(L'\n', start), all.size());
            SIZE line{0, 0};
            GetTextExtentPoint32W(dc, all.data() + start, int(end - start), &line);
            text.cx = std::max(text.cx, line.cx);
            text.cy = line.cy;
            if (end == all.size()) break;
            start = end + 1;
        }
    }
    ReleaseDC(nullptr, dc);
    text.cy *= lineFeeds + 1;
    return text;
}

void WToolTipEx::PlaceUnder(HWND anchor) const {
    const SIZE text = MeasureText();
    RECT under{0, 0, 0, 0};
    GetWindowRect(anchor, &under);
    const int x = under.left + (under.right - under.left - text.cx) / 2 - kTextLeft;
    SetWindowPos(window_, HWND_TOPMOST, x, under.bottom + kGapBelowAnchor, text.cx + kExtraWidth,
                 text.cy + kExtraHeight, SWP_NOACTIVATE);
}

// The body below the arrow, and the arrow: rows 1, 3, 5, 7 and 9 pixels wide centred on the middle column.
void WToolTipEx::Shape() const {
    RECT client;
    GetClientRect(window_, &client);
    const int width = client.right, height = client.bottom, centre = width / 2;
    HRGN shape = CreateRectRgn(0, kArrowRows, width, height);
    for (int row = 0; row < kArrowRows; ++row) {
        OwnedGdiObject arrowRow(CreateRectRgn(centre - row, row, centre + row + 1, row + 1));
        CombineRgn(shape, shape, arrowRow.get(), RGN_OR);
    }
    SetWindowRgn(window_, shape, FALSE);
}

void WToolTipEx::Paint(HDC dc, int width, int height) const {
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, background_.get());
    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    RECT place{kTextLeft, kTextTop, width, height};
    DrawTextW(dc, text_.c_str(), int(text_.size()), &place, DT_LEFT | DT_TOP);
}

}  // namespace toolkit
}  // namespace kestrova
