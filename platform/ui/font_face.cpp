#include "platform/ui/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cwctype>
#include <map>
#include <tuple>

#include "platform/base/text.h"

namespace kestrova::ui {
namespace {

// The Parts' faces are not installed here; these are the closest installed sans faces, in order.
std::vector<std::string> Candidates(const std::wstring& faceName) {
    std::wstring lower;
    for (wchar_t c : faceName) lower += wchar_t(std::towlower(wint_t(c)));
    if (lower == L"tahoma" || lower == L"ms shell dlg" || lower == L"ms sans serif" || lower.empty())
        return {"DejaVu Sans Condensed", "Liberation Sans"};
    if (lower == L"arial" || lower == L"helvetica") return {"Liberation Sans", "DejaVu Sans"};
    return {ToUtf8(faceName)};
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return library;
}

struct FileAndIndex {
    std::string file;
    int index = 0;
};

// Asks fontconfig for `family`; only a match of that family counts, so the next candidate gets its turn.
bool Match(const std::string& family, int weight, bool italic, bool anyFamily, FileAndIndex* out) {
    static bool ready = FcInit();
    if (!ready) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool found = false;
    if (match) {
        FcChar8* file = nullptr;
        bool familyMatches = anyFamily;
        FcChar8* name = nullptr;
        for (int i = 0; !familyMatches && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch;
             ++i)
            familyMatches = FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0;
        if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            out->file = reinterpret_cast<const char*>(file);
            FcPatternGetInteger(match, FC_INDEX, 0, &out->index);
            found = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

FileAndIndex Resolve(const std::wstring& faceName, int weight, bool italic) {
    FileAndIndex f;
    for (const std::string& family : Candidates(faceName))
        if (Match(family, weight, italic, false, &f)) return f;
    Match("sans-serif", weight, italic, true, &f);
    return f;
}

}  // namespace

struct FontFace::Handle {
    FT_Face face = nullptr;
    ~Handle() {
        if (face) FT_Done_Face(face);
    }
};

FontFace::~FontFace() = default;

std::string FontFace::FileFor(const std::wstring& faceName, int weight, bool italic) {
    return Resolve(faceName, weight, italic).file;
}

std::shared_ptr<FontFace> FontFace::For(const LOGFONTW& font) {
    bool monochrome = font.lfQuality == NONANTIALIASED_QUALITY;
    FileAndIndex where = Resolve(font.lfFaceName, font.lfWeight, font.lfItalic != 0);
    using Key = std::tuple<std::string, int, int, bool>;
    // Faces stay once loaded: the program makes the same few fonts again at every paint.
    static std::map<Key, std::shared_ptr<FontFace>> cache;
    Key key{where.file, where.index, font.lfHeight, monochrome};
    if (auto found = cache[key]) return found;

    auto face = std::shared_ptr<FontFace>(new FontFace);
    face->handle_ = std::make_unique<Handle>();
    if (where.file.empty() ||
        FT_New_Face(Library(), where.file.c_str(), where.index, &face->handle_->face) != 0)
        return nullptr;
    FT_Face ft = face->handle_->face;
    face->monochrome_ = monochrome;
    // The line is the font's Windows ascent plus descent, which a positive height gives exactly.
    double up = ft->units_per_EM ? ft->units_per_EM : 2048;
    double ascender = ft->ascender, descender = -ft->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2)); os2 && os2->usWinAscent) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    double line = ascender + descender;
    int cell;
    double ppem;
    if (font.lfHeight > 0) {
        cell = font.lfHeight;
        ppem = cell * up / line;
    } else {
        ppem = font.lfHeight < 0 ? -font.lfHeight : 12;
        cell = int(std::lround(ppem * line / up));
    }
    FT_Set_Char_Size(ft, 0, FT_F26Dot6(std::lround(ppem * 64)), 72, 72);
    face->ascent_ = int(std::lround(cell * ascender / line));
    face->descent_ = cell - face->ascent_;
    face->underlinePosition_ = std::max(1, int(std::lround(-ft->underline_position * ppem / up)));
    face->underlineThickness_ = std::max(1, int(std::lround(ft->underline_thickness * ppem / up)));
    cache[key] = face;
    return face;
}

const FontFace::Glyph& FontFace::GlyphOf(wchar_t ch) {
    auto it = glyphs_.find(ch);
    if (it != glyphs_.end()) return it->second;
    Glyph& g = glyphs_[ch];
    FT_Face ft = handle_->face;
    FT_Int32 flags = FT_LOAD_RENDER | (monochrome_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
    if (FT_Load_Char(ft, FT_ULong(ch), flags) != 0) return g;
    FT_GlyphSlot slot = ft->glyph;
    g.advance = int((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = int(slot->bitmap.width);
    g.height = int(slot->bitmap.rows);
    g.coverage.resize(size_t(g.width) * size_t(g.height));
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = slot->bitmap.buffer + ptrdiff_t(y) * slot->bitmap.pitch;
        for (int x = 0; x < g.width; ++x) {
            uint8_t v = slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                            ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255
                            : row[x];
            g.coverage[size_t(y) * size_t(g.width) + size_t(x)] = v;
        }
    }
    return g;
}

}  // namespace kestrova::ui
