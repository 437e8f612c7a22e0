#pragma once
// A font at one size, as FreeType renders it: a face that fontconfig found for a LOGFONTW, sized so that its
// line (ascent plus descent) is the font's cell height, with its rendered glyphs kept. Use under the GDI
// lock.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/gdi.h"

namespace kestrova::ui {

class FontFace {
public:
    struct Glyph {
        int advance = 0;        // pixels to the next glyph's origin
        int left = 0, top = 0;  // the bitmap's top-left from the origin on the baseline (top: upwards)
        int width = 0, height = 0;
        std::vector<uint8_t> coverage;  // width x height, 0..255
    };

    // The face for `font`; null only when no font at all can be loaded.
    static std::shared_ptr<FontFace> For(const LOGFONTW& font);
    // The file fontconfig chose for a face name, weight and slant (for tests and diagnostics).
    static std::string FileFor(const std::wstring& faceName, int weight, bool italic);

    ~FontFace();
    int Height() const { return ascent_ + descent_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int UnderlinePosition() const { return underlinePosition_; }  // pixels below the baseline
    int UnderlineThickness() const { return underlineThickness_; }
    const Glyph& GlyphOf(wchar_t ch);
    int Advance(wchar_t ch) { return GlyphOf(ch).advance; }

private:
    FontFace() = default;

    struct Handle;
    std::unique_ptr<Handle> handle_;
    bool monochrome_ = false;
    int ascent_ = 0, descent_ = 0;
    int underlinePosition_ = 1, underlineThickness_ = 1;
    std::unordered_map<wchar_t, Glyph> glyphs_;
};

}  // namespace kestrova::ui
