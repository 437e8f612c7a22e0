// The schedule window's grid skin, 592 x 48: the day row the window copies once per day (544 x 48), then the
// pieces it copies over it: the blue and green quarter bars and the box around the hovered hour.

#include <cstdio>

#include "tools/skin_painter/palette.h"
#include "tools/skin_painter/picture.h"
#include "tools/skin_painter/text.h"

namespace skin {
namespace {

constexpr int kHours = 24;
constexpr int kColumnWidth = 22;
constexpr int kFirstBarX = 24;  // the hour h's bars start at kFirstBarX + 22 h
constexpr int kBarWidth = 14, kBarHeight = 5, kBarPitch = 7, kFirstBarY = 18;
constexpr int kStripWidth = 544;

void PaintBar(Canvas& c, double x, double y, Rgb colour) {
    c.Fill(Box(x, y, x + kBarWidth, y + kBarHeight, 1), colour);
}

void PaintQuarters(Canvas& c, double x, double y) {
    for (int q = 0; q < 4; ++q) PaintBar(c, x, y + q * kBarPitch, kSeparator);
}

void PaintDayStrip(Canvas& c) {
    // The day letter's badge: the window writes the letter centred in x 1..13, y 18..32.
    c.Fill(Box(0, 16, 15, 34, 3), kHighlight);
    const Font& numbers = RequireFont("DejaVu Sans", Weight::Regular, 9);
    for (int h = 0; h < kHours; ++h) {
        const int x = kFirstBarX + kColumnWidth * h;
        char label[3];
        std::snprintf(label, sizeof label, "%02d", h);
        numbers.DrawCentred(c, label, x + kBarWidth / 2.0, 7.5, kMutedText);
        PaintQuarters(c, x, kFirstBarY);
    }
}

// The box drawn around the hovered hour, 22 x 34 at (570, 14): white, outlined, with the hour's grey bars
// where they lie in the strip, for the quarters that are not set.
void PaintHoverBox(Canvas& c) {
    constexpr int kX = 570, kY = 14, kWidth = 22, kHeight = 34;
    c.Fill(Box(kX, kY, kX + kWidth, kY + kHeight, 3), kHoverOutline);
    c.Fill(Box(kX + 1, kY + 1, kX + kWidth - 1, kY + kHeight - 1, 2), kWhite);
    PaintQuarters(c, kX + 4, kY + 4);
}

void PaintScheduleGrid(Canvas& c) {
    PaintDayStrip(c);
    c.FillRect(kStripWidth, 0, c.Width() - kStripWidth, c.Height(), kWhite);
    PaintBar(c, 552, 18, kHighlight);
    PaintBar(c, 552, 25, kScheduleGreen);
    PaintHoverBox(c);
}

}  // namespace

std::vector<Picture> SchedulePictures() {
    return {{"schedule_grid", 592, 48, PaintScheduleGrid}};
}

}  // namespace skin
