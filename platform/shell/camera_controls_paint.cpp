#include "platform/shell/camera_controls_paint.h"

#include "platform/ui/gdi.h"

namespace kestrova {
namespace {

constexpr COLORREF kCaptionBack = RGB(0, 84, 153);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);
constexpr COLORREF kFieldFrame = RGB(122, 122, 122);
constexpr COLORREF kQuietText = RGB(110, 110, 110);
constexpr COLORREF kInactiveText = RGB(150, 150, 150);
constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

void PaintCaption(HDC dc, const RECT& strip, const std::wstring& caption) {
    HBRUSH back = CreateSolidBrush(kCaptionBack);
    FillRect(dc, &strip, back);
    DeleteObject(back);
    SetTextColor(dc, kCaptionText);
    RECT text{strip.left + 10, strip.top, strip.right - 10, strip.bottom};
    DrawTextW(dc, caption.c_str(), -1, &text, kLine);
}

void PaintField(HDC dc, const RECT& field, HBRUSH frame) {
    FillRect(dc, &field, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &field, frame);
}

}  // namespace

void PaintCameraControls(HDC dc, HFONT font, const CameraControlsLayout& layout,
                         const CameraControlsFace& face) {
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    PaintCaption(dc, layout.caption, face.caption);

    HBRUSH frame = CreateSolidBrush(kFieldFrame);
    if (layout.pages.right > layout.pages.left) {
        RECT around{layout.pages.left - 1, layout.pages.top - 1, layout.pages.right + 1,
                    layout.pages.bottom + 1};
        FrameRect(dc, &around, frame);
    }
    if (!face.message.empty()) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        RECT message = layout.message;
        DrawTextW(dc, face.message.c_str(), -1, &message, kLine);
    }
    for (size_t slot = 0; slot < face.rows.size(); ++slot) {
        const ControlRowFace& row = face.rows[slot];
        ControlRowLayout r = LayOutControlRow(layout, slot);
        SetTextColor(dc, row.inactive ? kInactiveText : GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, row.name.c_str(), -1, &r.name, kLine);
        SetTextColor(dc, kQuietText);
        DrawTextW(dc, row.range.c_str(), -1, &r.range, kLine);
        if (row.withField) PaintField(dc, r.value, frame);
    }
    DeleteObject(frame);
    SelectObject(dc, oldFont);
}

}  // namespace kestrova
