#pragma once
// A picture being painted: opaque RGB pixels, painted with anti-aliased shapes (shape.h), exact rectangles
// and other canvases. Every skin contains the background it sits on, so there is no alpha channel.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/skin_painter/shape.h"

namespace skin {

struct Rgb {
    double r = 0, g = 0, b = 0;  // 0..255
    bool operator==(const Rgb&) const = default;
};

// a when t is 0, b when t is 1.
Rgb Mix(Rgb a, Rgb b, double t);
// "RGB(r,g,b)", for messages.
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

class Canvas {
public:
    Canvas(int width, int height, Rgb background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel as it will be written: each channel rounded to a whole number.
    Rgb At(int x, int y) const;

    // Covers the shape with `colour`, blending its edge pixels by how much of them it covers.
    void Fill(const Shape& shape, Rgb colour);
    // Sets every pixel of the rectangle, clipped to the canvas.
    void FillRect(int x, int y, int width, int height, Rgb colour);
    // Blends one pixel towards `colour` by `amount` (0..1); outside the canvas, nothing.
    void Blend(int x, int y, Rgb colour, double amount);
    // Copies `picture` with its top-left corner at (x, y), clipped to the canvas.
    void Draw(const Canvas& picture, int x, int y);
    // Copies `picture` enlarged `scale` times, each pixel a scale x scale square.
    void DrawEnlarged(const Canvas& picture, int x, int y, int scale);

    // Rows top-down, three bytes a pixel in R, G, B order.
    std::vector<uint8_t> RgbBytes() const;

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// Writes a 24-bit PNG; false with the reason in `error` when the file cannot be written.
bool WritePng(const Canvas& canvas, const std::string& path, std::string* error);
// Reads a PNG of any colour type, or a 24-bit BMP, as RGB; false with the reason in `error` when it cannot.
bool ReadPicture(const std::string& path, Canvas* out, std::string* error);

}  // namespace skin
