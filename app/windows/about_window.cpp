#include "app/windows/about_window.h"

#include <cwchar>

#include "app/windows/property_frame.h"
#include "platform/ui/gdi.h"
#include "toolkit/gdi_object.h"
#include "toolkit/skin.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{446, 409};

// The emblem, 108 x 91, centred on the window's width.
constexpr int kEmblemSkin = 5378, kEmblemWidth = 108, kEmblemHeight = 91;
constexpr POINT kEmblemAt{169, 110};
constexpr int kTextInset = 20, kNameTop = 225, kVersionTop = 245, kLineHeight = 20;

constexpr wchar_t kProductName[] = L"BRANTLOW Kestrova";
constexpr wchar_t kVersion[] = L"version 2.1.0.3";

void DrawCentredLine(HDC dc, HFONT font, const wchar_t* text, int top, int width) {
    toolkit::SelectedObject selected(dc, font);
    RECT place{kTextInset, top, width - kTextInset, top + kLineHeight};
    DrawTextW(dc, text, int(std::wcslen(text)), &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

class AboutWindow {
public:
    AboutWindow(HWND window, const CREATESTRUCTW& create) : frame_(window, create, FontQuality::Proof) {}

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnCreate() { frame_.CreateButtons(FrameButtons::CloseAndOk); }
    void OnPaint() const {
        frame_.Paint(L"About", [this](HDC dc, int width, int) { PaintAbout(dc, width); });
    }
    // OK closes as the close button does: there is nothing to keep.
    void OnCommand(int id) const {
        if (id == kOkButtonId) frame_.Close();
    }

private:
    void PaintAbout(HDC dc, int width) const {
        const toolkit::Skin emblem(dc, kEmblemSkin);
        emblem.CopyTo(dc, kEmblemAt.x, kEmblemAt.y, kEmblemWidth, kEmblemHeight, 0, 0);
        DrawCentredLine(dc, frame_.BoldFont(), kProductName, kNameTop, width);
        DrawCentredLine(dc, frame_.NormalFont(), kVersion, kVersionTop, width);
    }

    PropertyFrame frame_;
};

}  // namespace

uint16_t RegisterAboutWindowClass() {
    return RegisterPropertyWindowClass(kAboutWindowClass, PropertyWindowProc<AboutWindow>);
}

int ShowAboutWindow(HWND owner) {
    return ShowPropertyWindow(kAboutWindowClass, owner, nullptr, kSize);
}

}  // namespace kestrova
