#include <gtest/gtest.h>

#include "platform/ui/font_face.h"
#include "platform/ui/gdi.h"

namespace kestrova::uitest {
namespace {

HFONT Tahoma(int height, bool bold = false, bool underline = false) {
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, underline, 0, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                       FF_SWISS | DEFAULT_PITCH, L"Tahoma");
}

// A white 200 x 60 memory context with black transparent text in a font.
struct TextCanvas {
    explicit TextCanvas(HFONT f) : font(f) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, 200, 60);
        oldBitmap = SelectObject(dc, bitmap);
        oldFont = SelectObject(dc, font);
        RECT all{0, 0, 200, 60};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc, TRANSPARENT);
    }
    ~TextCanvas() {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteObject(font);
        DeleteDC(dc);
    }
    // The bounds of every pixel that is not white.
    RECT Inked() {
        RECT r{200, 60, 0, 0};
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    r.left = std::min(r.left, int32_t(x));
                    r.top = std::min(r.top, int32_t(y));
                    r.right = std::max(r.right, int32_t(x + 1));
                    r.bottom = std::max(r.bottom, int32_t(y + 1));
                }
        return r;
    }
    HFONT font;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ oldBitmap, oldFont;
};

TEST(Fonts, TheMissingFacesResolveToInstalledSansFaces) {
    for (const wchar_t* face : {L"Tahoma", L"Arial"}) {
        std::string file = ui::FontFace::FileFor(face, FW_NORMAL, false);
        EXPECT_TRUE(file.find("DejaVuSansCondensed.ttf") != std::string::npos ||
                    file.find("LiberationSans-Regular.ttf") != std::string::npos)
            << file;
    }
    EXPECT_NE(ui::FontFace::FileFor(L"Tahoma", FW_BOLD, false).find("Bold"), std::string::npos);
}

TEST(Fonts, LineHeightIsTheCellHeight) {
    for (int height : {13, 15, 20}) {
        TextCanvas canvas(Tahoma(height));
        TEXTMETRICW m;
        ASSERT_TRUE(GetTextMetricsW(canvas.dc, &m));
        EXPECT_EQ(m.tmHeight, height);
        EXPECT_EQ(m.tmAscent + m.tmDescent, height);
        SIZE size;
        ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, L"Tolerance", 9, &size));
        EXPECT_EQ(size.cy, height);
        EXPECT_GT(size.cx, 0);
        SIZE wider;
        GetTextExtentPoint32W(canvas.dc, L"Tolerance!", 10, &wider);
        EXPECT_GT(wider.cx, size.cx);
    }
}

TEST(DrawText, MeasuresLinesAtTheCellHeight) {
    TextCanvas canvas(Tahoma(13));
    SIZE one;
    GetTextExtentPoint32W(canvas.dc, L"Devices", 7, &one);
    struct Case {
        const wchar_t* text;
        UINT format;
        int width, height;
    };
    const Case cases[] = {
        {L"Devices", DT_CALCRECT, one.cx, 13},
        {L"Devices\nDevices", DT_CALCRECT, one.cx, 26},
        {L"Devices\nDevices", DT_CALCRECT | DT_SINGLELINE, 2 * one.cx, 13},
        {L"&Devices", DT_CALCRECT, one.cx, 13},
        {L"", DT_CALCRECT, 0, 0},
    };
    for (const Case& c : cases) {
        RECT r{10, 10, 20, 20};
        int h = DrawTextW(canvas.dc, c.text, -1, &r, c.format);
        EXPECT_EQ(h, c.height) << c.format;
        EXPECT_EQ(r.right - r.left, c.width) << c.format;
        EXPECT_EQ(r.bottom - r.top, c.height) << c.format;
    }
    EXPECT_EQ(canvas.Inked().right, 0);  // measuring draws nothing
}

TEST(DrawText, CentresSingleLinesAndStartsOthersAtTheTop) {
    {
        TextCanvas canvas(Tahoma(13));
        RECT box{0, 0, 200, 60};
        DrawTextW(canvas.dc, L"Settings", -1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        RECT ink = canvas.Inked();
        EXPECT_NEAR((ink.left + ink.right) / 2, 100, 2);
        EXPECT_NEAR((ink.top + ink.bottom) / 2, 30, 3);
    }
    {
        TextCanvas canvas(Tahoma(13));
        RECT box{0, 0, 200, 60};
        DrawTextW(canvas.dc, L"Settings", -1, &box, DT_VCENTER);  // without DT_SINGLELINE: the top
        RECT ink = canvas.Inked();
        EXPECT_LT(ink.bottom, 14);
        EXPECT_LT(ink.left, 3);
    }
    {
        TextCanvas canvas(Tahoma(13));
        RECT box{0, 0, 200, 60};
        DrawTextW(canvas.dc, L"A\nB", -1, &box, 0);  // two lines, one cell apart
        RECT ink = canvas.Inked();
        EXPECT_GT(ink.bottom, 14);
        EXPECT_LE(ink.bottom, 26);
    }
}

TEST(DrawText, DrawsInTheTextColourInsideTheRectangle) {
    TextCanvas canvas(Tahoma(13, true));
    SetTextColor(canvas.dc, RGB(0, 77, 133));
    RECT box{10, 10, 40, 23};
    DrawTextW(canvas.dc, L"Sensitivity Sensitivity", -1, &box, DT_SINGLELINE);
    RECT ink = canvas.Inked();
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 40);  // clipped to the rectangle
    bool sawColour = false;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x) sawColour |= GetPixel(canvas.dc, x, y) == RGB(0, 77, 133);
    EXPECT_TRUE(sawColour);  // not anti-aliased: whole pixels in the colour
}

TEST(DrawText, OpaqueModeFillsBehindTheText) {
    TextCanvas canvas(Tahoma(13));
    SetBkMode(canvas.dc, OPAQUE);
    SetBkColor(canvas.dc, RGB(255, 0, 0));
    TextOutW(canvas.dc, 5, 5, L"ab", 2);
    EXPECT_EQ(GetPixel(canvas.dc, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(canvas.dc, 5, 5 + 13), RGB(255, 255, 255));
}

}  // namespace
}  // namespace kestrova::uitest
