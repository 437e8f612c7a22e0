// Window frames and caption buttons. Every skinned window has a dark caption band across its top 29 rows (the
// rows that drag it), a 3-pixel edge down both sides and along the bottom, and white inside. The band carries
// the caption buttons, hanging from its top edge.

#include "tools/skin_painter/frame_style.h"
#include "tools/skin_painter/glyphs.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"

namespace skin {
namespace {

// The frame pieces of a property window, the popup and the message box, in one 320 x 47 picture: the band
// block in rows 0-42, the bottom edge in rows 43-46. The windows copy its left 4 columns, its right 110
// columns and tile column 5 between; and copy row 30's first 3 pixels to both sides, unmirrored, so the
// side edge is one colour across.
void PaintFramePieces(Canvas& c) {
    constexpr int kBlockRows = 43;
    c.FillRect(0, 0, c.Width(), kCaptionRows, kFrame);
    c.FillRect(0, 0, kEdge, kBlockRows, kFrame);
    c.FillRect(c.Width() - kEdge, 0, kEdge, kBlockRows, kFrame);
    // The bottom block: the sides run down through it, and its last 3 rows are the bottom edge.
    c.FillRect(0, kBlockRows, kEdge, c.Height() - kBlockRows, kFrame);
    c.FillRect(c.Width() - kEdge, kBlockRows, kEdge, c.Height() - kBlockRows, kFrame);
    c.FillRect(0, c.Height() - kEdge, c.Width(), kEdge, kFrame);
}

enum class Caption { Close, Hide, Menu };

// One face of a caption button: the band, and under the pointer a tab that hangs from the band's top.
void PaintCaptionFace(Canvas& c, Face face, Caption kind) {
    c.FillRect(0, 0, c.Width(), c.Height(), kFrame);
    const bool close = kind == Caption::Close;
    if (face == Face::Hover || face == Face::Pressed) {
        const Rgb tab = close ? (face == Face::Hover ? kCloseHover : kClosePressed)
                              : (face == Face::Hover ? kFrameHover : kFramePressed);
        c.Fill(Union({Box(0, 0, c.Width(), c.Height(), 3), Box(0, 0, c.Width(), 4)}), tab);
    }
    const Point centre{c.Width() / 2.0, c.Height() / 2.0};
    const Shape symbol = kind == Caption::Close  ? glyph::Cross(1.7)
                         : kind == Caption::Hide ? Moved(glyph::Minus(1.7), 0, 2.5)
                                                 : glyph::Menu(1.6);
    c.Fill(Placed(symbol, centre, 0.78), face == Face::Disabled ? kFrameGlyphDisabled : kFrameGlyph);
}

Picture CaptionButton(std::string name, int width, std::vector<Face> faces, Caption kind) {
    constexpr int kRows = 17;
    return {std::move(name), width, int(faces.size()) * kRows, [=](Canvas& c) {
                PaintStacked(c, kRows, faces, [&](Canvas& face, Face f) { PaintCaptionFace(face, f, kind); });
            }};
}

}  // namespace

std::vector<Picture> FramePictures() {
    return {
        {"property_frame", 320, 47, PaintFramePieces},
        {"message_frame", 320, 47, PaintFramePieces},
        CaptionButton("main_close", 41, kFourFaces, Caption::Close),
        CaptionButton("main_hide", 23, kFourFaces, Caption::Hide),
        CaptionButton("main_menu", 23, kFourFaces, Caption::Menu),
        // The property windows' close button has no disabled face: none is ever disabled.
        CaptionButton("window_close", 41, {Face::Normal, Face::Hover, Face::Pressed}, Caption::Close),
    };
}

}  // namespace skin
