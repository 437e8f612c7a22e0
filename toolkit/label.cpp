#include "toolkit/label.h"

#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"
#include "toolkit/label_fit.h"
#include "toolkit/text_fit.h"

namespace kestrova {

HWND CreateLabelEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                   int fontHeight, int bold) {
    return toolkit::CreateControl(toolkit::kLabelExClass, parent, text, id, x, y, width, height,
                                  uintptr_t(MAKELPARAM(uint16_t(fontHeight), uint16_t(bold))));
}

namespace toolkit {
namespace {

constexpr COLORREF kText = RGB(70, 70, 72);
constexpr int kMeasuredCapacity = 1024;
constexpr int kPaintedCapacity = 1000;

class WLabelEx {
public:
    WLabelEx(HWND window, const CREATESTRUCTW& create) : window_(window) {
        const uintptr_t font = reinterpret_cast<uintptr_t>(create.lpCreateParams);
        font_ = OwnedGdiObject(CreateUiFont(L"Tahoma", LOWORD(font), HIWORD(font), 0));
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_SETTEXT:
                DefWindowProcW(window_, msg, wParam, lParam);
                Fit();
                return 1;
            case WM_PAINT:
                PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
                return 0;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN: {
                // The window behind the label handles presses on it, as if the label were not there.
                const HWND window = window_;
                if (HWND parent = GetParent(window)) SendMessageW(parent, msg, wParam, lParam);
                return IsWindow(window) ? DefWindowProcW(window, msg, wParam, lParam) : 0;
            }
        }
        return DefWindowProcW(window_, msg, wParam, lParam);
    }

private:
    // Fits the label to its text within the size it has now; a text too wide for it is wrapped and set
    // again, which fits the label to the wrapped text.
    void Fit() {
        RECT client;
        GetClientRect(window_, &client);
        const SIZE bounds{client.right, client.bottom};
        const std::wstring text = ControlText(window_, kMeasuredCapacity);
        auto measure = [this](std::wstring_view t) { return MeasureText(window_, font_.get(), t); };
        const LabelFit fit = FitLabel(text, bounds, measure, !wrapping_);
        ResizeControl(window_, fit.size.cx, fit.size.cy);
        if (fit.wrapped) {
            // The label is now as wide as the wrapped text, which therefore fits when it is set again.
            wrapping_ = true;
            SetWindowTextW(window_, fit.wrapped->c_str());
            wrapping_ = false;
        }
    }

    void Paint(HDC dc, int width, int height) const {
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        SelectedObject font(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kText);
        const std::wstring text = ControlText(window_, kPaintedCapacity);
        const std::vector<std::wstring_view> lines = LabelLines(text);
        if (lines.empty()) return;
        // Lines are as far apart as the first one is high, plus the gap.
        RECT first{0, 0, width, height};
        DrawTextW(dc, lines.front().data(), int(lines.front().size()), &first, DT_CALCRECT);
        const int pitch = first.bottom - first.top + kLabelLineGap;
        int top = 0;
        for (const std::wstring_view line : lines) {
            RECT place{0, top, width, height};
            DrawTextW(dc, line.data(), int(line.size()), &place, DT_VCENTER);
            top += pitch;
        }
    }

    HWND window_;
    OwnedGdiObject font_;
    bool wrapping_ = false;  // setting the wrapped text, which must not wrap again
};

}  // namespace

const ControlClass kLabelExClass{L"WLabelEx_0000", IDC_ARROW, ControlWindowProc<WLabelEx>};

}  // namespace toolkit
}  // namespace kestrova
