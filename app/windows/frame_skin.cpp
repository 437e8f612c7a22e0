#include "app/windows/frame_skin.h"

#include <cwchar>

#include "platform/ui/gdi.h"
#include "toolkit/gdi_object.h"
#include "toolkit/window_frame.h"

namespace kestrova {
namespace {

constexpr int kSeparatorInset = 15, kUpperSeparatorY = 83, kLowerSeparatorFromBottom = 69;
constexpr RECT kCaptionPlace{19, 51, 300, 71};

void DrawSeparator(HDC dc, int y, int width) {
    MoveToEx(dc, kSeparatorInset, y, nullptr);
    LineTo(dc, width - kSeparatorInset, y);
}

}  // namespace

void PaintPropertyFrame(HDC dc, int width, int height, HFONT captionFont, const wchar_t* caption) {
    toolkit::DrawWindowFrame(dc, kPropertyFrameSkin, width, height);
    {
        toolkit::OwnedGdiObject pen(CreatePen(PS_SOLID, 1, kSeparatorColour));
        toolkit::SelectedObject selected(dc, pen.get());
        DrawSeparator(dc, kUpperSeparatorY, width);
        DrawSeparator(dc, height - kLowerSeparatorFromBottom, width);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPropertyTextColour);
    toolkit::SelectedObject font(dc, captionFont);
    RECT place = kCaptionPlace;
    DrawTextW(dc, caption, int(std::wcslen(caption)), &place, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

}  // namespace kestrova
