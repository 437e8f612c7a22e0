// The toolkit's pictures: the text button's nine-slice skin and its arrows, the check box and radio glyphs,
// the slider's thumb, the link's icon, and the devices window's keep and remove marks.

#include "tools/skin_painter/glyphs.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"
#include "tools/skin_painter/text_button_look.h"

namespace skin {
namespace {

// 37 x 148, four 37 x 37 blocks that the button cuts 18 / 1 / 18 both ways: a rounded face with a 1-pixel
// border, flat in its middle row and column so it stretches to any width.
void PaintTextButton(Canvas& c) {
    constexpr int kBlock = 37;
    PaintStacked(c, kBlock, kFourFaces, [](Canvas& block, Face f) {
        const TextButtonLook& look = kTextButtonLooks[int(f)];
        block.Fill(Box(0, 0, kBlock, kBlock, 4), look.border);
        block.Fill(Box(1, 1, kBlock - 1, kBlock - 1, 3), look.face);
    });
}

// An arrow the button draws beside its text, on the face colour of each state.
Picture ButtonArrow(std::string name, int width, int rows, glyph::Direction direction) {
    return {std::move(name), width, 4 * rows, [=](Canvas& c) {
                PaintStacked(c, rows, kFourFaces, [&](Canvas& face, Face f) {
                    const TextButtonLook& look = kTextButtonLooks[int(f)];
                    face.FillRect(0, 0, face.Width(), face.Height(), look.face);
                    face.Fill(Placed(glyph::Triangle(direction), {width / 2.0, rows / 2.0}, 0.4), look.text);
                });
            }};
}

enum class Choice { Radio, Check };
enum class Mark { Clear, Set };

// One 13 x 14 cell: a 13 x 13 circle or rounded square in rows 1-13, white behind.
void PaintChoice(Canvas& c, int x, int y, Choice choice, Face face, Mark mark) {
    const bool set = mark == Mark::Set;
    const auto outline = [&](double inset) {
        return choice == Choice::Radio
                   ? Circle({x + 6.5, y + 7.5}, 6.5 - inset)
                   : Box(x + inset, y + 1 + inset, x + 13 - inset, y + 14 - inset, 2.5 - inset);
    };
    Rgb border = face == Face::Hover ? kHighlight : kBorder, fill = kWhite;
    if (face == Face::Disabled) border = kBorderDisabled, fill = kFillDisabled;
    if (set) {
        const Rgb setFill[] = {kHighlight, kOnHover, kOnPressed, kOnDisabled};
        border = fill = setFill[int(face)];
    }
    c.Fill(outline(0), border);
    c.Fill(outline(1), fill);
    if (!set) return;
    const Point centre{x + 6.5, y + 7.5};
    if (choice == Choice::Radio) {
        c.Fill(Circle(centre, 2.6), kWhite);
    } else {
        c.Fill(Placed(glyph::Tick(2.6), {centre.x, centre.y + 0.2}, 0.6), kWhite);
    }
}

// 26 x 84: radio in the left column, check box in the right; rows of 14 for normal, hovered and disabled,
// each clear and then set.
void PaintChoices(Canvas& c) {
    constexpr Face kRows[] = {Face::Normal, Face::Hover, Face::Disabled};
    for (int row = 0; row < 3; ++row) {
        for (Mark mark : {Mark::Clear, Mark::Set}) {
            const int y = row * 28 + (mark == Mark::Set ? 14 : 0);
            PaintChoice(c, 0, y, Choice::Radio, kRows[row], mark);
            PaintChoice(c, 13, y, Choice::Check, kRows[row], mark);
        }
    }
}

// 19 x 33: normal, dragging and disabled, 11 rows each. The thumb is copied over the groove, so the groove
// runs behind it and the pill fills the whole width where the groove passes.
void PaintThumb(Canvas& c) {
    constexpr int kRows = 11;
    PaintStacked(c, kRows, {Face::Normal, Face::Pressed, Face::Disabled}, [](Canvas& face, Face f) {
        face.FillRect(0, 4, face.Width(), 1, kGroove);
        face.FillRect(0, 5, face.Width(), 2, kGrooveLight);
        const Shape pill = Box(0, 0, face.Width(), kRows, kRows / 2.0);
        const Rgb edge = f == Face::Normal ? kHighlight : f == Face::Pressed ? kOnPressed : kGroove;
        face.Fill(pill, edge);
        face.Fill(Box(1.5, 1.5, face.Width() - 1.5, kRows - 1.5, kRows / 2.0 - 1.5),
                  f == Face::Pressed ? kOnPressed : kWhite);
        face.Fill(Box(8, 3.5, 11, 7.5, 1.5), f == Face::Pressed ? kWhite : edge);
    });
}

// 14 x 42: normal, hovered and disabled, 14 rows each: a round "go" sign in the link's colour.
void PaintLinkIcon(Canvas& c) {
    PaintStacked(c, 14, {Face::Normal, Face::Hover, Face::Disabled}, [](Canvas& face, Face f) {
        const Rgb disc = f == Face::Normal ? kLinkText : f == Face::Hover ? kHighlight : kDisabledText;
        face.Fill(Circle({7, 7}, 7), disc);
        face.Fill(Placed(glyph::Chevron(glyph::Direction::Right, 3.4), {7.4, 7}, 0.5), kWhite);
    });
}

Picture DeviceMark(std::string name, Shape symbol, Rgb colour) {
    return {std::move(name), 9, 8, [=](Canvas& c) { c.Fill(Placed(symbol, {4.5, 4}, 0.6), colour); }};
}

}  // namespace

std::vector<Picture> ControlPictures() {
    return {
        {"text_button", 37, 148, PaintTextButton},
        ButtonArrow("cycle_left", 5, 9, glyph::Direction::Left),
        ButtonArrow("cycle_right", 5, 9, glyph::Direction::Right),
        ButtonArrow("drop_down", 9, 5, glyph::Direction::Down),
        {"choices", 26, 84, PaintChoices},
        {"slider_thumb", 19, 33, PaintThumb},
        {"link_icon", 14, 42, PaintLinkIcon},
        DeviceMark("keep_mark", glyph::Tick(2.6), kLevelGreen),
        DeviceMark("remove_mark", glyph::Cross(2.6), kLevelRed),
    };
}

}  // namespace skin
