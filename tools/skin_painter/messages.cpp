// The message box's five icons and the About window's emblem.

#include "tools/skin_painter/glyphs.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"

namespace skin {
namespace {

constexpr Point kIconCentre{24, 24};
constexpr double kIconRadius = 21;

void PaintInformation(Canvas& c) {
    c.Fill(Circle(kIconCentre, kIconRadius), kHighlight);
    c.Fill(Circle({24, 14.5}, 3), kWhite);
    c.Fill(Box(21, 20.5, 27, 35, 1.5), kWhite);
}

void PaintQuestion(Canvas& c) {
    c.Fill(Circle(kIconCentre, kIconRadius), kHighlight);
    c.Fill(
        Union({Arc({24, 18.5}, 6.5, 180, 390, 4.6), Polyline({{29.6, 21.75}, {24, 25.5}, {24, 28.5}}, 4.6)}),
        kWhite);
    c.Fill(Circle({24, 35.5}, 2.8), kWhite);
}

// "The device is already in the list.": a warning, in the amber of the display's selected tile.
void PaintWarning(Canvas& c) {
    c.Fill(Grown(Polygon({{24, 7}, {42.5, 40}, {5.5, 40}}), 2.5), kAmber);
    c.Fill(Line({24, 18}, {24, 29.5}, 4.6), kText);
    c.Fill(Circle({24, 36}, 2.6), kText);
}

void PaintError(Canvas& c) {
    c.Fill(Circle(kIconCentre, kIconRadius), kLevelRed);
    c.Fill(Placed(glyph::Cross(3.6), kIconCentre, 1.2), kWhite);
}

// Access denied: a closed padlock.
void PaintLocked(Canvas& c) {
    c.Fill(Circle(kIconCentre, kIconRadius), kFrame);
    c.Fill(Union({Arc({24, 20}, 6, 180, 360, 3.4), Line({18, 20}, {18, 24}, 3.4),
                  Line({30, 20}, {30, 24}, 3.4)}),
           kWhite);
    c.Fill(Box(14.5, 23, 33.5, 36, 2.5), kWhite);
    c.Fill(Union({Circle({24, 28.2}, 2.3), Box(23, 28.5, 25, 33)}), kFrame);
}

// 240 x 48: information, question, already listed, error, access denied, 48 pixels apart.
void PaintMessageIcons(Canvas& c) {
    void (*const icons[])(Canvas&) = {PaintInformation, PaintQuestion, PaintWarning, PaintError, PaintLocked};
    int x = 0;
    for (auto paint : icons) {
        Canvas icon(48, 48, kWhite);
        paint(icon);
        c.Draw(icon, x, 0);
        x += 48;
    }
}

// 108 x 91: a white cross on a dark grey screen, on its stand.
void PaintEmblem(Canvas& c) {
    c.Fill(Box(2, 0, 106, 74, 7), kFrame);
    c.Fill(Box(6, 4, 102, 70, 3), kScreen);
    c.FillRect(51, 21, 6, 32, kWhite);
    c.FillRect(38, 34, 32, 6, kWhite);
    c.Fill(Box(47, 74, 61, 83), kFrame);
    c.Fill(Box(30, 82, 78, 89, 3.5), kFrame);
}

}  // namespace

std::vector<Picture> MessagePictures() {
    return {
        {"message_icons", 240, 48, PaintMessageIcons},
        {"about_emblem", 108, 91, PaintEmblem},
    };
}

}  // namespace skin
