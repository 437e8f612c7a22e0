#pragma once
// Drawing: device contexts over windows and memory bitmaps, and the objects they draw with (bitmaps, brushes,
// pens, fonts, regions). Every pixel is 32-bit; pixman does the pixel work. Coordinates are the device
// context's: a window's client area, or the selected bitmap.

#include "platform/imaging/bitmap.h"
#include "platform/ui/painting.h"
#include "platform/ui/types.h"

using BITMAPINFOHEADER = kestrova::imaging::BitmapInfoHeader;
using BITMAPINFO = kestrova::imaging::BitmapInfo;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;  // the background still needs erasing (WM_ERASEBKGND left it)
    RECT rcPaint;         // the bounds of what is to be painted
};

struct BITMAP {
    int32_t bmType = 0;
    int32_t bmWidth = 0;
    int32_t bmHeight = 0;
    int32_t bmWidthBytes = 0;
    uint16_t bmPlanes = 1;
    uint16_t bmBitsPixel = 32;
    void* bmBits = nullptr;
};

struct LOGBRUSH {
    UINT lbStyle = 0;
    COLORREF lbColor = 0;
    uintptr_t lbHatch = 0;
};

struct LOGPEN {
    UINT lopnStyle = 0;
    POINT lopnWidth;
    COLORREF lopnColor = 0;
};

inline constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    int32_t lfHeight = 0;  // > 0: the cell height; < 0: the character height; 0: a default
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    wchar_t lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICW {
    int32_t tmHeight = 0;
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
};

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Pen styles, background modes, stretch modes, raster operations.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;
inline constexpr UINT DIB_RGB_COLORS = 0;
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Font values.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t OUT_DEFAULT_PRECIS = 0;
inline constexpr uint8_t CLIP_DEFAULT_PRECIS = 0;
inline constexpr uint8_t DEFAULT_QUALITY = 0;
inline constexpr uint8_t NONANTIALIASED_QUALITY = 3;
inline constexpr uint8_t ANTIALIASED_QUALITY = 4;
inline constexpr uint8_t PROOF_QUALITY = 2;
inline constexpr uint8_t CLEARTYPE_QUALITY = 5;
inline constexpr uint8_t DEFAULT_PITCH = 0;
inline constexpr uint8_t FF_SWISS = 0x20;

// Regions.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// DrawText flags.
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_CENTER = 0x0001;
inline constexpr UINT DT_RIGHT = 0x0002;
inline constexpr UINT DT_VCENTER = 0x0004;  // with DT_SINGLELINE only
inline constexpr UINT DT_BOTTOM = 0x0008;   // with DT_SINGLELINE only
inline constexpr UINT DT_WORDBREAK = 0x0010;
inline constexpr UINT DT_SINGLELINE = 0x0020;
inline constexpr UINT DT_EXPANDTABS = 0x0040;
inline constexpr UINT DT_NOCLIP = 0x0100;
inline constexpr UINT DT_CALCRECT = 0x0400;
inline constexpr UINT DT_NOPREFIX = 0x0800;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;

// System colours, for brushes given as colour index + 1.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_GRAYTEXT = 17;
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// Device contexts.
HDC GetDC(HWND hwnd);  // the window's client area, clipped to what of it shows
int ReleaseDC(HWND hwnd, HDC hdc);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);  // clipped to what needs painting, which it validates
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC CreateCompatibleDC(HDC hdc);  // a memory context holding a 1 x 1 bitmap until one is selected
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);  // the previous object of that kind (a region: its kind)
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* previous);
// Limits drawing to `region` (copied; null removes the limit); returns the kind of the clip that results.
int SelectClipRgn(HDC hdc, HRGN region);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
inline constexpr UINT OBJ_PEN = 1;
inline constexpr UINT OBJ_BRUSH = 2;
inline constexpr UINT OBJ_FONT = 6;
inline constexpr UINT OBJ_BITMAP = 7;

// Objects.
HGDIOBJ GetStockObject(int which);
BOOL DeleteObject(HGDIOBJ object);  // stock objects stay; a stale handle gives FALSE
int GetObjectW(HGDIOBJ object, int size, void* out);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// A 32-bit bitmap; `bits` (top-down rows of 0x00RRGGBB, or null for black) is copied.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const wchar_t* faceName);

// Drawing.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);  // a 1-pixel border inside the rectangle
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL LineTo(HDC hdc, int x, int y);  // 1-pixel lines with the pen; the end point is not drawn
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);  // CLR_INVALID outside the drawable area
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);
// Draws a 24- or 32-bit device-independent bitmap (bottom-up when biHeight > 0) stretched into the
// destination; HALFTONE averages the source pixels each destination pixel covers, COLORONCOLOR (and the
// other modes) takes the nearest one. Returns the number of source rows drawn, 0 on failure.
int StretchDIBits(HDC hdc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

// Regions.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// Rounded corners from ellipses of `ellipseWidth` x `ellipseHeight`; covers [left, right-1) x [top,
// bottom-1).
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
BOOL PtInRegion(HRGN region, int x, int y);
int GetRgnBox(HRGN region, RECT* box);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL EqualRgn(HRGN a, HRGN b);
BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush);
// The window takes the region (window coordinates; the handle is spent); it clips painting and hit testing.
// Null gives the whole window back.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's region into `region`; RGN_ERROR when it has none.
int GetWindowRgn(HWND hwnd, HRGN region);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRgn(HWND hwnd, HRGN region);

// Text, in the selected font and text colour, with the background colour behind it in OPAQUE mode.
BOOL TextOutW(HDC hdc, int x, int y, const wchar_t* text, int length);
// Draws or (DT_CALCRECT) measures `text` (length -1: up to its terminator) in `rect`; returns the height
// of the text.
int DrawTextW(HDC hdc, const wchar_t* text, int length, RECT* rect, UINT format);
BOOL GetTextExtentPoint32W(HDC hdc, const wchar_t* text, int length, SIZE* size);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics);
