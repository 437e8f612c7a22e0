// The buttons the display shows over the live picture.

#include "tools/skin_painter/glyphs.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"

namespace skin {
namespace {

// A dark, square-cornered tile (the video behind it is unknown) with a thin lighter edge, so it stands out on
// dark and light pictures alike.
void PaintOverlayFace(Canvas& c, Face face, const Shape& symbol, double scale) {
    const Rgb fill[] = {kOverlay, kOverlayHover, kHighlight, kOverlay};
    c.FillRect(0, 0, c.Width(), c.Height(), kOverlayEdge);
    c.FillRect(1, 1, c.Width() - 2, c.Height() - 2, fill[int(face)]);
    c.Fill(Placed(symbol, {c.Width() / 2.0, c.Height() / 2.0}, scale),
           face == Face::Disabled ? kFrameGlyphDisabled : kWhite);
}

Picture OverlayButton(std::string name, int width, int rows, Shape symbol, double scale) {
    return {std::move(name), width, 4 * rows, [=](Canvas& c) {
                PaintStacked(c, rows, kFourFaces,
                             [&](Canvas& face, Face f) { PaintOverlayFace(face, f, symbol, scale); });
            }};
}

}  // namespace

std::vector<Picture> DisplayPictures() {
    using glyph::Direction;
    return {
        OverlayButton("view_fullscreen", 47, 59, glyph::Fullscreen(1.7), 1.25),
        OverlayButton("view_popup", 47, 59, glyph::PopOut(1.7), 1.25),
        OverlayButton("pan_left", 24, 59, glyph::Chevron(Direction::Left, 2), 1.1),
        OverlayButton("pan_right", 24, 59, glyph::Chevron(Direction::Right, 2), 1.1),
        OverlayButton("tilt_up", 59, 24, glyph::Chevron(Direction::Up, 2), 1.1),
        OverlayButton("tilt_down", 59, 24, glyph::Chevron(Direction::Down, 2), 1.1),
    };
}

}  // namespace skin
