// How a WButtonEx_0000 looks: its background skin in the state's row, its icons, and its text.

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/button_object.h"
#include "toolkit/skin.h"

namespace kestrova::toolkit {
namespace {

// Text colours by state: normal, hover, pressed, disabled.
constexpr COLORREF kTextColours[] = {RGB(81, 81, 81), RGB(51, 51, 51), RGB(51, 51, 51), RGB(169, 169, 169)};
constexpr int kTextCapacity = 128;  // 127 characters shown at most

// The top of a state's row of `rowHeight` in a skin; a skin without that row (a close button drawn with
// three faces, disabled) shows its first, never reading past its end.
int RowTop(const Skin& skin, int state, int rowHeight) {
    const int top = state * rowHeight;
    return top + rowHeight <= skin.Height() ? top : 0;
}

}  // namespace

void WButtonEx::Paint(HDC dc, int width, int height) const {
    const int state = int(ShownState(!IsWindowEnabled(window_), pressed_, hover_.IsOn()));
    PaintBackground(dc, width, height, state);
    PaintIcons(dc, width, state);
    PaintText(dc, width, height, state);
}

void WButtonEx::PaintBackground(HDC dc, int width, int height, int state) const {
    const Skin skin(dc, backgroundBitmap_);
    if (!skin) {
        // Every window sets a skin; until one is set the button is a plain white face.
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        return;
    }
    if (backgroundMode_ == kStackedBackground)
        skin.CopyTo(dc, 0, 0, width, height, 0, RowTop(skin, state, height));
    else
        DrawNineSlice(dc, skin, RowTop(skin, state, kNineSliceBlock), width, height);
}

void WButtonEx::PaintIcons(HDC dc, int width, int state) const {
    const bool check = kind_ == kCheckButton;
    // A check button shows icon 1 unchecked and icon 2 checked; the other kinds show both.
    if (!(check && checked_)) {
        const Skin icon(dc, icon1_);
        const int rowHeight = icon.Height() / 4;
        icon.CopyTo(dc, icon1Position_.first, icon1Position_.second, icon.Width(), rowHeight, 0,
                    RowTop(icon, state, rowHeight));
    }
    if (!(check && !checked_)) {
        const Skin icon(dc, icon2_);
        const int rowHeight = icon.Height() / 4;
        const int x = check ? icon2Position_.first : width - icon2Position_.first - icon.Width();
        icon.CopyTo(dc, x, icon2Position_.second, icon.Width(), rowHeight, 0, RowTop(icon, state, rowHeight));
    }
}

void WButtonEx::PaintText(HDC dc, int width, int height, int state) const {
    wchar_t text[kTextCapacity];
    const int length = GetWindowTextW(window_, text, kTextCapacity);
    if (length <= 0) return;
    SelectedObject font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColours[state]);
    RECT place{0, 0, width, height};
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (textX_ == -1)
        format |= DT_CENTER;
    else
        place.left = textX_;
    DrawTextW(dc, text, length, &place, format);
}

}  // namespace kestrova::toolkit
