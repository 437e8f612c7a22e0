#include "toolkit/link.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/messages.h"
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

HWND CreateLinkEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                  int iconBitmap) {
    return toolkit::CreateControl(toolkit::kLinkExClass, parent, text, id, x, y, width, height,
                                  uintptr_t(iconBitmap));
}

namespace toolkit {
namespace {

constexpr COLORREF kLinkColour = RGB(0, 77, 133), kDisabledText = RGB(169, 169, 169);
constexpr int kIconSize = 14;
constexpr int kHoveredRow = 14, kDisabledRow = 28;
constexpr int kTextAfterIcon = 20;
constexpr int kMinimumHeight = 14;
constexpr int kTextCapacity = 1024;

class WLinkEx {
public:
    WLinkEx(HWND window, const CREATESTRUCTW& create)
        : window_(window),
          font_(CreateUiFont(L"Tahoma", 13, 0, 0)),
          iconBitmap_(int32_t(reinterpret_cast<intptr_t>(create.lpCreateParams))) {}

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
                if (IsWindowEnabled(window_)) SendCommand(window_);
                return 0;
        }
        return DefWindowProcW(window_, msg, wParam, lParam);
    }

private:
    PaintFunction Painter() const {
        return [this](HDC dc, int width, int height) { Paint(dc, width, height); };
    }

    int TextLeft() const { return iconBitmap_ ? kTextAfterIcon : 0; }

    void FitToText() {
        const SIZE text = MeasureText(window_, font_.get(), ControlText(window_, kTextCapacity));
        ResizeControl(window_, text.cx + TextLeft(), std::max<int>(text.cy + 2, kMinimumHeight));
    }

    void Paint(HDC dc, int width, int height) const {
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        const bool enabled = IsWindowEnabled(window_);
        const Skin icon(dc, iconBitmap_);
        icon.CopyTo(dc, 0, std::max(0, (height - kIconSize) / 2), kIconSize, kIconSize, 0,
                    !enabled        ? kDisabledRow
                    : hover_.IsOn() ? kHoveredRow
                                    : 0);

        // Underlined while the cursor is over it, with a font made for this paint.
        OwnedGdiObject underlined;
        if (hover_.IsOn()) {
            LOGFONTW description = UiLogFont(L"Tahoma", 13, 0, 0);
            description.lfUnderline = 1;
            underlined = OwnedGdiObject(CreateFontIndirectW(&description));
        }
        SelectedObject font(dc, underlined ? underlined.get() : font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, enabled ? kLinkColour : kDisabledText);
        const std::wstring text = ControlText(window_, kTextCapacity);
        RECT place{TextLeft(), 0, width, height};
        DrawTextW(dc, text.c_str(), int(text.size()), &place, DT_VCENTER);
    }

    HWND window_;
    OwnedGdiObject font_;
    int32_t iconBitmap_;
    Hover hover_;
};

}  // namespace

const ControlClass kLinkExClass{L"WLinkEx_0000", IDC_HAND, ControlWindowProc<WLinkEx>};

}  // namespace toolkit
}  // namespace kestrova
