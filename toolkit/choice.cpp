#include "toolkit/choice.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"
#include "toolkit/hover.h"
#include "toolkit/notify.h"
#include "toolkit/skin.h"
#include "toolkit/text_fit.h"

namespace kestrova {

HWND CreateChoiceEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                    int glyphBitmap) {
    return toolkit::CreateControl(toolkit::kChoiceExClass, parent, text, id, x, y, width, height,
                                  uintptr_t(glyphBitmap));
}

namespace toolkit {
namespace {

constexpr int kGlyphWidth = 13, kGlyphHeight = 14;
constexpr int kHoveredRow = 28, kDisabledRow = 56, kCheckedOffset = 14;
constexpr int kTextLeft = 20;  // the text starts here, the glyph and a gap before it
constexpr int kMinimumHeight = 14;
constexpr int kMeasuredCapacity = 1024;
constexpr COLORREF kText = RGB(70, 70, 72), kDisabledText = RGB(169, 169, 169);

class WChoiceEx {
public:
    WChoiceEx(HWND window, const CREATESTRUCTW& create)
        : window_(window),
          font_(CreateUiFont(L"Tahoma", 13, 0, 0)),
          glyphBitmap_(int32_t(reinterpret_cast<intptr_t>(create.lpCreateParams))) {}

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (TrackHover(hover_, window_, msg, wParam)) return 0;
        switch (msg) {
            case WM_ENABLE:
                RepaintForEnable(window_, wParam != 0, Painter());
                return 0;
            case WM_SETTEXT:
                DefWindowProcW(window_, msg, wParam, lParam);
                FitToText();
                return 1;
            case WM_PAINT:
                PaintBuffered(window_, Painter());
                return 0;
            case WM_LBUTTONDOWN:
                OnClick();
                return 0;
            case kChoiceKind:
                return PropertyMessage(window_, wParam, lParam).Apply(kind_);
            case kChoiceChecked:
                return PropertyMessage(window_, wParam, lParam).Apply(checked_);
        }
        return DefWindowProcW(window_, msg, wParam, lParam);
    }

private:
    PaintFunction Painter() const {
        return [this](HDC dc, int width, int height) { Paint(dc, width, height); };
    }

    void OnClick() {
        SetFocus(window_);
        checked_ = kind_ == kRadioButton ? 1 : !checked_;
        InvalidateRect(window_, nullptr, FALSE);
        if (IsWindowEnabled(window_)) SendCommand(window_);
    }

    void FitToText() {
        const SIZE text = MeasureText(window_, font_.get(), ControlText(window_, kMeasuredCapacity));
        ResizeControl(window_, text.cx + kTextLeft, std::max<int>(text.cy, kMinimumHeight));
    }

    void Paint(HDC dc, int width, int height) const {
        RECT all{0, 0, width, height};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        const bool enabled = IsWindowEnabled(window_);
        int row = !enabled ? kDisabledRow : hover_.IsOn() ? kHoveredRow : 0;
        if (checked_) row += kCheckedOffset;
        const Skin glyphs(dc, glyphBitmap_);
        const int column = kind_ == kCheckBox ? kGlyphWidth : 0;
        glyphs.CopyTo(dc, 0, std::max(0, (height - kGlyphHeight) / 2), kGlyphWidth, kGlyphHeight, column,
                      row);

        const std::wstring text = ControlText(window_, kMeasuredCapacity);
        SelectedObject font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, enabled ? kText : kDisabledText);
        RECT place{kTextLeft, 0, width, height};
        // Not single-line: the text starts at the top and breaks at its own line breaks.
        DrawTextW(dc, text.c_str(), int(text.size()), &place, DT_VCENTER);
    }

    HWND window_;
    OwnedGdiObject font_;
    int32_t kind_ = kRadioButton;
    int32_t glyphBitmap_;
    int32_t checked_ = 0;
    Hover hover_;
};

}  // namespace

const ControlClass kChoiceExClass{L"WChoiceEx_0000", IDC_HAND, ControlWindowProc<WChoiceEx>};

void CheckRadioGroupOf(HWND parent, std::initializer_list<int> ids) {
    LPARAM checked = 1;
    for (int id : ids) {
        if (id == 0) return;
        SendDlgItemMessageW(parent, id, kChoiceChecked, kPropertySetAndRepaint, checked);
        checked = 0;
    }
}

}  // namespace toolkit
}  // namespace kestrova
