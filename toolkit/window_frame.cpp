#include "toolkit/window_frame.h"

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/gdi_object.h"
#include "toolkit/skin.h"

namespace kestrova::toolkit {
namespace {

// The frame skin's pieces.
constexpr int kBandHeight = 43, kBottomHeight = 4;
constexpr int kBandLeftWidth = 4, kBandRightWidth = 110, kBandRightX = 210;
constexpr int kRepeatedColumnX = 5;
constexpr int kBottomCornerWidth = 4, kBottomRightX = 316;
constexpr int kSideWidth = 3, kSideRowY = 30;

}  // namespace

void DrawWindowFrame(HDC dc, int skinId, int width, int height) {
    const Skin skin(dc, skinId);
    skin.CopyTo(dc, 0, 0, kBandLeftWidth, kBandHeight, 0, 0);
    skin.CopyTo(dc, width - kBandRightWidth, 0, kBandRightWidth, kBandHeight, kBandRightX, 0);
    for (int x = kBandLeftWidth; x <= width - kBandRightWidth - 1; ++x)
        skin.CopyTo(dc, x, 0, 1, kBandHeight, kRepeatedColumnX, 0);

    const int bottom = height - kBottomHeight;
    skin.CopyTo(dc, 0, bottom, kBottomCornerWidth, kBottomHeight, 0, kBandHeight);
    skin.CopyTo(dc, width - kBottomCornerWidth, bottom, kBottomCornerWidth, kBottomHeight, kBottomRightX,
                kBandHeight);
    for (int x = kBottomCornerWidth; x <= width - kBottomCornerWidth - 1; ++x)
        skin.CopyTo(dc, x, bottom, 1, kBottomHeight, kRepeatedColumnX, kBandHeight);

    for (int y = kBandHeight; y <= height - 5; ++y) {
        skin.CopyTo(dc, 0, y, kSideWidth, 1, 0, kSideRowY);
        skin.CopyTo(dc, width - kSideWidth, y, kSideWidth, 1, 0, kSideRowY);
    }
    const RECT face{kSideWidth, kBandHeight, width - kSideWidth, bottom};
    FillRect(dc, &face, HBRUSH(GetStockObject(WHITE_BRUSH)));
}

void RoundWindowCorners(HWND window, int width, int height) {
    HRGN shape = CreateRoundRectRgn(0, 0, width + 1, height + 1, 8, 8);
    for (const POINT corner :
         {POINT{1, 1}, POINT{width - 2, 1}, POINT{1, height - 2}, POINT{width - 2, height - 2}}) {
        OwnedGdiObject pixel(CreateRectRgn(corner.x, corner.y, corner.x + 1, corner.y + 1));
        CombineRgn(shape, shape, pixel.get(), RGN_DIFF);
    }
    SetWindowRgn(window, shape, FALSE);
}

}  // namespace kestrova::toolkit
