#include "toolkit/drawing.h"

#include <cwchar>

#include "toolkit/gdi_object.h"

namespace kestrova {
namespace {

constexpr COLORREF kDashColour = RGB(192, 194, 194);
constexpr int kFirstDash = 3, kDashLength = 2, kDashPitch = 6;
constexpr int kCaptionAbove = 18, kCaptionIndent = 9;

}  // namespace

LOGFONTW UiLogFont(const wchar_t* face, int height, int bold, int proofQuality) {
    LOGFONTW font;
    font.lfHeight = height;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = proofQuality ? PROOF_QUALITY : NONANTIALIASED_QUALITY;
    font.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    if (face) std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

HFONT CreateUiFont(const wchar_t* face, int height, int bold, int proofQuality) {
    const LOGFONTW font = UiLogFont(face, height, bold, proofQuality);
    return CreateFontIndirectW(&font);
}

int DrawDashedFrame(HDC dc, const wchar_t* caption, int x, int y, int width, int height) {
    {
        toolkit::OwnedGdiObject pen(CreatePen(PS_SOLID, 1, kDashColour));
        toolkit::SelectedObject selected(dc, pen.get());
        auto dash = [dc](int x0, int y0, int x1, int y1) {
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
        };
        for (int k = kFirstDash; k < width - 3; k += kDashPitch) {
            dash(x + k, y, x + k + kDashLength, y);
            dash(x + k, y + height - 1, x + k + kDashLength, y + height - 1);
        }
        for (int k = kFirstDash; k < height - 3; k += kDashPitch) {
            dash(x, y + k, x, y + k + kDashLength);
            dash(x + width - 1, y + k, x + width - 1, y + k + kDashLength);
        }
    }
    toolkit::OwnedGdiObject font(CreateUiFont(L"Tahoma", 13, 1, 0));
    toolkit::SelectedObject selected(dc, font.get());
    RECT place{x + kCaptionIndent, y - kCaptionAbove, x + width, y + height};
    if (caption) DrawTextW(dc, caption, -1, &place, DT_SINGLELINE);
    return 1;
}

}  // namespace kestrova
