#include "toolkit/framed_edit.h"

#include <algorithm>
#include <cwchar>

#include "platform/ui/gdi.h"
#include "platform/ui/painting.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/control_window.h"
#include "toolkit/drawing.h"
#include "toolkit/gdi_object.h"
#include "toolkit/notify.h"

namespace kestrova {

HWND CreateEditEx(HWND parent, const wchar_t* text, int id, int x, int y, int width, int height,
                  uint32_t editStyles) {
    return toolkit::CreateControl(toolkit::kEditExClass, parent, text, id, x, y, width, height, editStyles);
}

namespace toolkit {
namespace {

constexpr COLORREF kBackground = RGB(243, 243, 243);
constexpr COLORREF kText = RGB(70, 70, 72);
constexpr COLORREF kCueColour = RGB(155, 155, 157);
constexpr COLORREF kFrame = RGB(220, 220, 220);
constexpr COLORREF kSoftCorner = RGB(244, 244, 244);
constexpr int kMultiLineHeight = 46;

class WEditEx {
public:
    WEditEx(HWND window, const CREATESTRUCTW& create)
        : window_(window), font_(CreateUiFont(L"Tahoma", 13, 0, 0)) {
        RECT client;
        GetClientRect(window, &client);
        const uint32_t extra = uint32_t(reinterpret_cast<uintptr_t>(create.lpCreateParams));
        const uint32_t lines = client.bottom >= kMultiLineHeight ? ES_MULTILINE : ES_AUTOHSCROLL;
        inner_ =
            CreateWindowExW(0, L"EDIT", L"", extra | WS_CHILD | WS_VISIBLE | lines, 7, 10, client.right - 14,
                            client.bottom - 19, window, kInnerEditId, nullptr, nullptr);
        SendMessageW(inner_, WM_SETFONT, WPARAM(font_.get()), FALSE);
        background_ = OwnedGdiObject(CreateSolidBrush(kBackground));
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        switch (msg) {
            case WM_SETTEXT:
            case WM_GETTEXT:
            case WM_GETTEXTLENGTH:
            case EM_SETSEL:
            case EM_LIMITTEXT:
            case EM_SETPASSWORDCHAR:
            case EM_GETPASSWORDCHAR:
            case EM_GETLIMITTEXT:
                return SendMessageW(inner_, msg, wParam, lParam);
            case WM_PAINT:
                PaintBuffered(window_, [this](HDC dc, int width, int height) { Paint(dc, width, height); });
                return 0;
            case WM_COMMAND:
                if (HWND(lParam) == inner_) OnInnerNotice(HIWORD(wParam));
                return 0;
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                SetTextColor(HDC(wParam), kText);
                SetBkColor(HDC(wParam), kBackground);
                return reinterpret_cast<LRESULT>(background_.get());
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
                // A press on the frame, or on the cue text, brings the caret back.
                ShowWindow(inner_, SW_SHOW);
                SetFocus(inner_);
                return 0;
            case kEditStyleBits:
                OnStyleBits(wParam, uint32_t(lParam));
                return 0;
            case kEditCueText:
                OnCueText(wParam, lParam);
                return 0;
        }
        return DefWindowProcW(window_, msg, wParam, lParam);
    }

private:
    void OnInnerNotice(uint16_t code) {
        const HWND window = window_;
        SendCommand(window, code);
        if (!IsWindow(window)) return;  // the parent closed the field
        if ((code == EN_CHANGE && GetFocus() != inner_) || code == EN_KILLFOCUS)
            ShowWindow(inner_, GetWindowTextLengthW(inner_) > 0 ? SW_SHOW : SW_HIDE);
    }

    void OnStyleBits(WPARAM wParam, uint32_t bits) {
        const uint32_t style = uint32_t(GetWindowLongPtrW(inner_, GWL_STYLE));
        SetWindowLongPtrW(inner_, GWL_STYLE, LOWORD(wParam) ? style | bits : style & ~bits);
        if (HIWORD(wParam)) InvalidateRect(window_, nullptr, FALSE);
    }

    void OnCueText(WPARAM wParam, LPARAM lParam) {
        auto* text = reinterpret_cast<wchar_t*>(lParam);
        if (LOWORD(wParam)) {
            cue_.assign(text ? text : L"", 0, kCueTextLimit);
        } else if (text && HIWORD(wParam) > 0) {
            const size_t length = std::min<size_t>(cue_.size(), HIWORD(wParam) - 1u);
            std::wmemcpy(text, cue_.data(), length);
            text[length] = L'\0';
        }
        InvalidateRect(window_, nullptr, FALSE);
    }

    void Paint(HDC dc, int width, int height) const {
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, background_.get());
        {
            SelectedObject font(dc, font_.get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, kCueColour);
            RECT place{10, 0, width - 20, height};
            DrawTextW(dc, cue_.c_str(), int(cue_.size()), &place, DT_SINGLELINE | DT_VCENTER);
        }
        OwnedGdiObject frame(CreateSolidBrush(kFrame));
        FrameRect(dc, &all, frame.get());
        for (POINT corner :
             {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}})
            SetPixel(dc, corner.x, corner.y, kSoftCorner);
    }

    HWND window_;
    OwnedGdiObject font_;
    OwnedGdiObject background_;
    std::wstring cue_;
    HWND inner_ = nullptr;
};

}  // namespace

const ControlClass kEditExClass{L"WEditEx_0000", IDC_IBEAM, ControlWindowProc<WEditEx>};

}  // namespace toolkit
}  // namespace kestrova
