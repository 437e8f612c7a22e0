// Text: measuring and drawing lines in a device context's font.

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/ui/drawing.h"
#include "platform/ui/font_face.h"

namespace kestrova::ui {
namespace {

FontFace* FaceOfLocked(DeviceContext& dc, bool* underline) {
    FontData* font = FontOfLocked(dc);
    if (!font) return nullptr;
    if (!font->face) font->face = FontFace::For(font->log);
    *underline = font->log.lfUnderline != 0;
    return font->face.get();
}

int Width(FontFace& face, std::wstring_view line) {
    int w = 0;
    for (wchar_t ch : line) w += face.Advance(ch);
    return w;
}

// Blends one glyph in the text colour at `origin` (surface coordinates, on the baseline), inside `area`.
void DrawGlyph(Surface& s, const FontFace::Glyph& g, POINT origin, const Region& area, COLORREF color) {
    if (g.width == 0) return;
    RECT box{origin.x + g.left, origin.y - g.top, origin.x + g.left + g.width, origin.y - g.top + g.height};
    Region visible(box);
    visible.Intersect(area);
    const uint32_t r = GetRValue(color), gr = GetGValue(color), b = GetBValue(color);
    for (const RECT& part : visible.Rects())
        for (int y = part.top; y < part.bottom; ++y) {
            uint32_t* row = s.Pixels() + size_t(y) * size_t(s.Width());
            const uint8_t* cov = g.coverage.data() + size_t(y - box.top) * size_t(g.width);
            for (int x = part.left; x < part.right; ++x) {
                uint32_t a = cov[x - box.left];
                if (a == 0) continue;
                uint32_t p = row[x];
                auto mix = [a](uint32_t under, uint32_t over) {
                    return (over * a + under * (255 - a) + 127) / 255;
                };
                row[x] = 0xFF000000u | (mix((p >> 16) & 0xFF, r) << 16) | (mix((p >> 8) & 0xFF, gr) << 8) |
                         mix(p & 0xFF, b);
            }
        }
}

// Draws one line with its top-left at (x, y) in context coordinates, limited to `limit` when given.
void DrawLine(Drawing& d, FontFace& face, bool underline, std::wstring_view line, int x, int y,
              const RECT* limit) {
    Region area = d.target.area;
    if (limit) area.Intersect(d.OnSurface(*limit));
    int width = Width(face, line);
    if (d.dc->backgroundMode == OPAQUE)
        FillAreaLocked(d.target, d.OnSurface(RECT{x, y, x + width, y + face.Height()}),
                       d.dc->backgroundColor);
    POINT pen{x + d.target.origin.x, y + d.target.origin.y + face.Ascent()};
    for (wchar_t ch : line) {
        const FontFace::Glyph& g = face.GlyphOf(ch);
        DrawGlyph(*d.target.surface, g, pen, area, d.dc->textColor);
        pen.x += g.advance;
    }
    if (underline) {
        int top = y + face.Ascent() + face.UnderlinePosition();
        Region bar = d.OnSurface(RECT{x, top, x + width, top + face.UnderlineThickness()});
        bar.Intersect(area);
        FillAreaLocked(d.target, bar, d.dc->textColor);
    }
}

// The text as DrawTextW shows it: prefixes taken out ("&&" stays one "&"), tabs expanded when asked.
std::wstring Prepare(std::wstring_view text, UINT format) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t ch = text[i];
        if (ch == L'&' && !(format & DT_NOPREFIX)) {
            if (i + 1 < text.size()) out += text[++i];
            continue;
        }
        if (ch == L'\t') {
            if (format & DT_EXPANDTABS) out += L"        ";
            continue;
        }
        out += ch;
    }
    return out;
}

// The lines to draw: one for DT_SINGLELINE (line breaks dropped), else one per line feed, each wrapped at
// spaces to `width` with DT_WORDBREAK.
std::vector<std::wstring> Lines(FontFace& face, const std::wstring& text, UINT format, int width) {
    std::vector<std::wstring> lines;
    if (format & DT_SINGLELINE) {
        std::wstring one;
        for (wchar_t ch : text)
            if (ch != L'\r' && ch != L'\n') one += ch;
        lines.push_back(one);
        return lines;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        while ((format & DT_WORDBREAK) && Width(face, line) > width) {
            // Break at the last space that leaves a fitting first part; a lone long word stays whole.
            size_t cut = std::wstring::npos;
            for (size_t sp = line.find(L' '); sp != std::wstring::npos; sp = line.find(L' ', sp + 1)) {
                if (Width(face, std::wstring_view(line).substr(0, sp)) > width && cut != std::wstring::npos)
                    break;
                cut = sp;
            }
            if (cut == std::wstring::npos) break;
            lines.push_back(line.substr(0, cut));
            line = line.substr(cut + 1);
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::wstring WithEllipsis(FontFace& face, std::wstring line, int width) {
    if (Width(face, line) <= width) return line;
    while (!line.empty() && Width(face, line + L"...") > width) line.pop_back();
    return line + L"...";
}

}  // namespace
}  // namespace kestrova::ui

using namespace kestrova::ui;

BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int length) {
    auto d = Drawing::Begin(hdc, true);
    if (!d || !text || length < 0) return FALSE;
    bool underline;
    FontFace* face = FaceOfLocked(*d->dc, &underline);
    if (!face) return FALSE;
    DrawLine(*d, *face, underline, std::wstring_view(text, size_t(length)), x, y, nullptr);
    return TRUE;
}

int DrawTextW(HDC hdc, const wchar_t* text, int length, RECT* rect, UINT format) {
    if (!text || !rect) return 0;
    std::wstring_view raw(text, length < 0 ? std::wcslen(text) : size_t(length));
    bool calculate = (format & DT_CALCRECT) != 0;
    auto d = Drawing::Begin(hdc, !calculate);
    if (!d) return 0;
    bool underline;
    FontFace* face = FaceOfLocked(*d->dc, &underline);
    if (!face) return 0;
    if (raw.empty()) {
        if (calculate) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }
    int boxWidth = rect->right - rect->left;
    std::vector<std::wstring> lines = Lines(*face, Prepare(raw, format), format, boxWidth);
    const int lineHeight = face->Height();
    const int height = lineHeight * int(lines.size());
    if (calculate) {
        int widest = 0;
        for (const auto& line : lines) widest = std::max(widest, Width(*face, line));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        top = rect->bottom - lineHeight;
    const RECT* limit = (format & DT_NOCLIP) ? nullptr : rect;
    int y = top;
    for (std::wstring line : lines) {
        if (format & DT_END_ELLIPSIS) line = WithEllipsis(*face, line, boxWidth);
        int w = Width(*face, line);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (boxWidth - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        DrawLine(*d, *face, underline, line, x, y, limit);
        y += lineHeight;
    }
    return y - rect->top;
}

BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int length, SIZE* size) {
    if (!text || !size || length < 0) return FALSE;
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return FALSE;
    bool underline;
    FontFace* face = FaceOfLocked(*dc, &underline);
    if (!face) return FALSE;
    size->cx = Width(*face, std::wstring_view(text, size_t(length)));
    size->cy = face->Height();
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics) {
    if (!metrics) return FALSE;
    GdiLock lock = LockGdi();
    DeviceContext* dc = FindDcLocked(hdc);
    if (!dc) return FALSE;
    bool underline;
    FontFace* face = FaceOfLocked(*dc, &underline);
    if (!face) return FALSE;
    TEXTMETRICW m;
    m.tmHeight = face->Height();
    m.tmAscent = face->Ascent();
    m.tmDescent = face->Descent();
    m.tmAveCharWidth = face->Advance(L'x');
    int widest = 0;
    for (wchar_t ch = L'A'; ch <= L'Z'; ++ch) widest = std::max(widest, face->Advance(ch));
    m.tmMaxCharWidth = std::max(widest, face->Advance(L'W'));
    m.tmWeight = FontOfLocked(*dc)->log.lfWeight;
    *metrics = m;
    return TRUE;
}
