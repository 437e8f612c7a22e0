#include "platform/shell/file_dialog_paint.h"

#include "platform/ui/gdi.h"

namespace kestrova {
namespace {

constexpr COLORREF kCaptionBack = RGB(0, 84, 153);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);
constexpr COLORREF kFieldFrame = RGB(122, 122, 122);
constexpr COLORREF kGripDots = RGB(140, 140, 140);

// Three rows of dots stepping down into the corner.
void PaintGrip(HDC dc, const RECT& grip) {
    HBRUSH dots = CreateSolidBrush(kGripDots);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) {
            const int x = grip.right - 3 - 3 * j, y = grip.bottom - 3 - 3 * (i - j);
            RECT dot{x - 1, y - 1, x + 1, y + 1};
            FillRect(dc, &dot, dots);
        }
    DeleteObject(dots);
}

}  // namespace

void PaintFileDialog(HDC dc, HFONT font, FileDialogLayout l, const FileDialogFace& face) {
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);

    HBRUSH captionBack = CreateSolidBrush(kCaptionBack);
    FillRect(dc, &l.caption, captionBack);
    DeleteObject(captionBack);
    SetTextColor(dc, kCaptionText);
    RECT captionText{l.caption.left + 8, l.caption.top, l.caption.right - 8, l.caption.bottom};
    DrawTextW(dc, face.caption.c_str(), -1, &captionText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const UINT label = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (!face.prompt.empty()) DrawTextW(dc, face.prompt.c_str(), -1, &l.prompt, label);
    DrawTextW(dc, L"Look in:", -1, &l.folderLabel, label);
    if (face.withName) DrawTextW(dc, L"File name:", -1, &l.nameLabel, label);

    // The controls draw no border of their own: the edits get a white field round them, the list a frame.
    HBRUSH frame = CreateSolidBrush(kFieldFrame);
    for (const RECT& field : {l.folderEdit, l.nameEdit}) {
        if (field.right <= field.left) continue;
        FillRect(dc, &field, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &field, frame);
    }
    RECT aroundList{l.list.left - 1, l.list.top - 1, l.list.right + 1, l.list.bottom + 1};
    FrameRect(dc, &aroundList, frame);
    DeleteObject(frame);
    if (face.resizable) PaintGrip(dc, l.grip);
    SelectObject(dc, oldFont);
}

}  // namespace kestrova
