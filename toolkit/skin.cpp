#include "toolkit/skin.h"

#include "platform/ui/gdi.h"
#include "platform/ui/resources.h"

namespace kestrova::toolkit {

Skin::Skin(HDC dc, int resourceId) {
    if (resourceId <= 0 || resourceId > 0xFFFF) return;
    bitmap_ = OwnedGdiObject(LoadBitmapW(nullptr, MAKEINTRESOURCEW(uint16_t(resourceId))));
    BITMAP info;
    if (!bitmap_ || !GetObjectW(bitmap_.get(), sizeof info, &info)) return;
    dc_ = CreateCompatibleDC(dc);
    previous_ = SelectObject(dc_, bitmap_.get());
    width_ = info.bmWidth;
    height_ = info.bmHeight;
}

Skin::~Skin() {
    if (!dc_) return;
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

void Skin::CopyTo(HDC dest, int x, int y, int width, int height, int sourceX, int sourceY) const {
    if (dc_) BitBlt(dest, x, y, width, height, dc_, sourceX, sourceY, SRCCOPY);
}

COLORREF Skin::Pixel(int x, int y) const {
    return dc_ ? GetPixel(dc_, x, y) : CLR_INVALID;
}

SkinState ShownState(bool disabled, bool pressed, bool hovered) {
    if (disabled) return SkinState::Disabled;
    if (pressed) return SkinState::Pressed;
    if (hovered) return SkinState::Hover;
    return SkinState::Normal;
}

void DrawNineSlice(HDC dest, const Skin& skin, int row, int width, int height) {
    constexpr int kCorner = 18, kFar = kCorner + 1;  // the middle column and row sit between the corners
    const int right = width - kCorner, bottom = height - kCorner;
    skin.CopyTo(dest, 0, 0, kCorner, kCorner, 0, row);
    skin.CopyTo(dest, right, 0, kCorner, kCorner, kFar, row);
    skin.CopyTo(dest, 0, bottom, kCorner, kCorner, 0, row + kFar);
    skin.CopyTo(dest, right, bottom, kCorner, kCorner, kFar, row + kFar);
    for (int x = kCorner; x < right; ++x) {
        skin.CopyTo(dest, x, 0, 1, kCorner, kCorner, row);
        skin.CopyTo(dest, x, bottom, 1, kCorner, kCorner, row + kFar);
    }
    for (int y = kCorner; y < bottom; ++y) {
        skin.CopyTo(dest, 0, y, kCorner, 1, 0, row + kCorner);
        skin.CopyTo(dest, right, y, kCorner, 1, kFar, row + kCorner);
    }
    const RECT centre{kCorner, kCorner, right, bottom};
    if (centre.left < centre.right && centre.top < centre.bottom) {
        OwnedGdiObject face(CreateSolidBrush(skin.Pixel(kCorner, row + kCorner)));
        FillRect(dest, &centre, face.get());
    }
}

}  // namespace kestrova::toolkit
