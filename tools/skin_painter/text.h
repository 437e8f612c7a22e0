#pragma once
// Text for the few pictures that carry some (the schedule's hour numbers, the main window's name, the contact
// sheet's labels): an installed sans face found through fontconfig, rendered anti-aliased by FreeType.

#include <memory>
#include <string>

#include "tools/skin_painter/canvas.h"

namespace skin {

enum class Weight { Regular, Bold };

class Font {
public:
    // The closest installed match of `family` at `pixelSize`; null with the reason in `error` when no face
    // can be loaded.
    static std::unique_ptr<Font> Load(const std::string& family, Weight weight, int pixelSize,
                                      std::string* error);
    ~Font();

    // The advance width of `text` in pixels.
    int Width(const std::string& text) const;
    // The height of a capital letter above the baseline, in pixels.
    int CapHeight() const;
    // Draws `text` (ASCII) with its baseline at y and its left edge at x.
    void Draw(Canvas& canvas, const std::string& text, int x, int baseline, Rgb colour) const;
    // Draws `text` centred on x, with the middle of its capitals at y.
    void DrawCentred(Canvas& canvas, const std::string& text, double x, double y, Rgb colour) const;

private:
    struct Face;
    explicit Font(std::unique_ptr<Face> face);
    std::unique_ptr<Face> face_;
};

// The font for a picture's text, loaded once and kept; throws std::runtime_error when none can be loaded,
// which stops the painter with that reason.
const Font& RequireFont(const std::string& family, Weight weight, int pixelSize);

}  // namespace skin
