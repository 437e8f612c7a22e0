#pragma once
// Skins: bitmap resources of the program, named by id, loaded for one paint and released at its end (nothing
// is cached between paints). A skin that shows several states stacks them vertically in the order normal,
// hover, pressed, disabled.

#include "platform/ui/types.h"
#include "toolkit/gdi_object.h"

namespace kestrova::toolkit {

class Skin {
public:
    // Loads bitmap `resourceId` and selects it into a memory context compatible with `dc`; an id without a
    // bitmap (0 among them) gives an empty skin, which copies nothing.
    Skin(HDC dc, int resourceId);
    ~Skin();
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    explicit operator bool() const { return width_ > 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Copies the skin's `width` x `height` block at (sourceX, sourceY) to (x, y) of `dest`.
    void CopyTo(HDC dest, int x, int y, int width, int height, int sourceX, int sourceY) const;
    COLORREF Pixel(int x, int y) const;

private:
    OwnedGdiObject bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The rows of a stacked skin, and the one a control shows: disabled wins over pressed, pressed over hover.
enum class SkinState { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };
SkinState ShownState(bool disabled, bool pressed, bool hovered);

// Draws a nine-slice skin over a `width` x `height` area: its state block of 37 x 37 at `row` is split
// 18 / 1 / 18 both ways; the corners are copied, the middle column and row are stretched by copying them
// pixel by pixel along the edges, and the centre is filled with the colour of the block's middle pixel.
inline constexpr int kNineSliceBlock = 37;
void DrawNineSlice(HDC dest, const Skin& skin, int row, int width, int height);

}  // namespace kestrova::toolkit
