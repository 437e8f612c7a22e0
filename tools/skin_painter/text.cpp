#include "tools/skin_painter/text.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <stdexcept>
#include <tuple>

namespace skin {
namespace {

// The file of the closest match; the configuration is dropped again, so nothing of fontconfig outlives this.
std::string FontFile(const std::string& family, Weight weight) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return std::string();
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight == Weight::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return file;
}

}  // namespace

struct Font::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

Font::Font(std::unique_ptr<Face> face) : face_(std::move(face)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::Load(const std::string& family, Weight weight, int pixelSize,
                                 std::string* error) {
    const std::string file = FontFile(family, weight);
    auto face = std::make_unique<Face>();
    if (file.empty() || FT_Init_FreeType(&face->library) != 0 ||
        FT_New_Face(face->library, file.c_str(), 0, &face->face) != 0 ||
        FT_Set_Pixel_Sizes(face->face, 0, FT_UInt(pixelSize)) != 0) {
        *error = "no font for \"" + family + "\"" + (file.empty() ? "" : " (" + file + ")");
        return nullptr;
    }
    return std::unique_ptr<Font>(new Font(std::move(face)));
}

int Font::Width(const std::string& text) const {
    long width = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face_->face, c, FT_LOAD_DEFAULT) == 0) width += face_->face->glyph->advance.x;
    }
    return int(width >> 6);
}

int Font::CapHeight() const {
    if (FT_Load_Char(face_->face, 'H', FT_LOAD_DEFAULT) != 0) return 0;
    return int(face_->face->glyph->metrics.horiBearingY >> 6);
}

void Font::Draw(Canvas& canvas, const std::string& text, int x, int baseline, Rgb colour) const {
    for (unsigned char c : text) {
        if (FT_Load_Char(face_->face, c, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face_->face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const uint8_t coverage = bitmap.buffer[int(row) * bitmap.pitch + int(column)];
                canvas.Blend(x + glyph->bitmap_left + int(column), baseline - glyph->bitmap_top + int(row),
                             colour, coverage / 255.0);
            }
        }
        x += int(glyph->advance.x >> 6);
    }
}

void Font::DrawCentred(Canvas& canvas, const std::string& text, double x, double y, Rgb colour) const {
    Draw(canvas, text, int(std::lround(x - Width(text) / 2.0)), int(std::lround(y + CapHeight() / 2.0)),
         colour);
}

}  // namespace skin

namespace skin {

const Font& RequireFont(const std::string& family, Weight weight, int pixelSize) {
    static std::map<std::tuple<std::string, Weight, int>, std::unique_ptr<Font>> fonts;
    std::unique_ptr<Font>& font = fonts[{family, weight, pixelSize}];
    if (!font) {
        std::string error;
        font = Font::Load(family, weight, pixelSize, &error);
        if (!font) throw std::runtime_error(error);
    }
    return *font;
}

}  // namespace skin
