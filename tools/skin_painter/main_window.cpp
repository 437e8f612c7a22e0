// The main window: its whole skin, its nine tool buttons and the pieces of its device list.

#include <utility>

#include "tools/skin_painter/frame_style.h"
#include "tools/skin_painter/glyphs.h"
#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"
#include "tools/skin_painter/text.h"

namespace skin {
namespace {

// Where the window puts its display; the skin's picture there is what an empty display shows.
constexpr int kDisplayX = 10, kDisplayY = 33, kDisplayWidth = 480, kDisplayHeight = 360;

// The program's mark: a camera lens, as on its icon.
void PaintLens(Canvas& c, Point centre) {
    c.Fill(Circle(centre, 7.5), kListLine);
    c.Fill(Circle(centre, 5), kWhite);
    c.Fill(Circle(centre, 3), kFrame);
    c.Fill(Circle({centre.x - 1.2, centre.y - 1.2}, 1), kWhite);
}

void PaintEmptyDisplay(Canvas& c) {
    c.FillRect(kDisplayX, kDisplayY, kDisplayWidth, kDisplayHeight, kScreen);
    const Point centre{kDisplayX + kDisplayWidth / 2.0, kDisplayY + kDisplayHeight / 2.0};
    c.Fill(Placed(glyph::Camera(), centre, 4.5), kScreenMark);
}

// 500 x 673: the caption band with the program's name, the edges, the empty display, and white where the
// tool buttons, the sliders' frames and the device list go.
void PaintMainWindow(Canvas& c) {
    c.FillRect(0, 0, c.Width(), kCaptionRows, kFrame);
    c.FillRect(0, 0, kEdge, c.Height(), kFrame);
    c.FillRect(c.Width() - kEdge, 0, kEdge, c.Height(), kFrame);
    c.FillRect(0, c.Height() - kEdge, c.Width(), kEdge, kFrame);
    PaintLens(c, {20, kCaptionRows / 2.0});
    RequireFont("DejaVu Sans", Weight::Bold, 13).Draw(c, "Kestrova", 34, 19, kFrameGlyph);
    PaintEmptyDisplay(c);
    // Sets the buttons apart from the sliders' frames below them.
    c.FillRect(24, 438, c.Width() - 48, 1, kSeparator);
}

enum class Switch { Off, On };

// A flat button: the symbol alone at rest, a soft tile under the pointer; an "on" button is a blue tile with
// a white symbol in every state, so the five state buttons read at a glance.
void PaintToolFace(Canvas& c, Face face, const Shape& symbol, Switch state) {
    const Shape tile = Box(1, 1, c.Width() - 1, c.Height() - 1, 4);
    Rgb ink = face == Face::Disabled ? kGlyphDisabled : kGlyph;
    if (state == Switch::On) {
        const Rgb fill[] = {kHighlight, kOnHover, kOnPressed, kOnDisabled};
        c.Fill(tile, fill[int(face)]);
        ink = kWhite;
    } else if (face == Face::Hover || face == Face::Pressed) {
        c.Fill(tile, face == Face::Hover ? kHoverWash : kPressedWash);
        ink = kText;
    }
    c.Fill(Placed(symbol, {c.Width() / 2.0, c.Height() / 2.0}, 1), ink);
}

Picture ToolButton(std::string name, Shape symbol, Switch state) {
    constexpr int kWidth = 36, kRows = 26;
    return {std::move(name), kWidth, 4 * kRows, [=](Canvas& c) {
                PaintStacked(c, kRows, kFourFaces,
                             [&](Canvas& face, Face f) { PaintToolFace(face, f, symbol, state); });
            }};
}

// The selected item's background, 5 x 33: the list copies columns 0-1 to the item's left, 3-4 to its right
// and tiles column 2 between, then draws its own three selection lines over the first three columns.
void PaintSelectedItem(Canvas& c) {
    c.FillRect(0, 0, c.Width(), c.Height(), kSelectedItem);
    c.FillRect(0, 0, 2, c.Height(), kListLine);
}

enum class DeviceState { Off, Powered, Alarm };

// A device's state as a small badge. The list copies it onto white and onto the selected item alike, so the
// badge fills its 15 x 10 and its rounded corners blend into a colour halfway between the two.
void PaintBadge(Canvas& c, const Shape& symbol, DeviceState state) {
    c.FillRect(0, 0, c.Width(), c.Height(), Mix(kWhite, kSelectedItem, 0.5));
    const Rgb fill[] = {Rgb{158, 160, 165}, kLevelGreen, kLevelRed};
    c.Fill(Box(0, 0, c.Width(), c.Height(), 2.5), fill[int(state)]);
    c.Fill(symbol, kWhite);
}

Picture Badge(std::string name, Shape symbol, DeviceState state) {
    return {std::move(name), 15, 10, [=](Canvas& c) { PaintBadge(c, symbol, state); }};
}

}  // namespace

std::vector<Picture> MainWindowPictures() {
    std::vector<Picture> pictures{{"main_window", 500, 673, PaintMainWindow}};
    // The five state buttons have an "on" and an "off" skin each.
    const std::pair<const char*, Shape> switches[] = {
        {"power", glyph::Power(1.7)}, {"alarm", glyph::Bell()},          {"streaming", glyph::Broadcast(1.6)},
        {"masking", glyph::Mask()},   {"scheduling", glyph::Clock(1.6)},
    };
    for (const auto& [name, symbol] : switches) {
        pictures.push_back(ToolButton(std::string(name) + "_on", symbol, Switch::On));
        pictures.push_back(ToolButton(std::string(name) + "_off", symbol, Switch::Off));
    }
    pictures.push_back(ToolButton("device_properties", glyph::Sliders(1.6), Switch::Off));
    pictures.push_back(ToolButton("display_properties", glyph::Display(), Switch::Off));
    pictures.push_back(ToolButton("device_list", glyph::List(1.6), Switch::Off));
    pictures.push_back(ToolButton("settings", glyph::Gear(), Switch::Off));

    pictures.push_back({"selected_item", 5, 33, PaintSelectedItem});
    // The list's symbols are drawn for their 15 x 10 badge, on whole pixels: scaled down they would blur.
    const std::pair<const char*, Shape> devices[] = {
        {"camera", Placed(glyph::Camera(), {7.5, 5}, 0.5)},
        {"microphone", Union({Box(6, 1, 9, 6.2, 1.5), Arc({7.5, 4.6}, 2.9, 0, 180, 1.1), Box(7, 7.5, 8, 9)})},
    };
    for (const auto& [name, symbol] : devices) {
        pictures.push_back(Badge(std::string(name) + "_off", symbol, DeviceState::Off));
        pictures.push_back(Badge(std::string(name) + "_powered", symbol, DeviceState::Powered));
        pictures.push_back(Badge(std::string(name) + "_alarm", symbol, DeviceState::Alarm));
    }
    return pictures;
}

}  // namespace skin
