#include "platform/ui/edit_view.h"

#include <algorithm>

#include "platform/ui/edit.h"
#include "platform/ui/gdi.h"
#include "platform/ui/window_tree.h"
#include "platform/ui/windows.h"

namespace kestrova::ui {
namespace {

constexpr int kMargin = 1;  // between the sides and the text, so that a caret at either end shows

}  // namespace

uint32_t StyleOf(HWND hwnd) {
    return uint32_t(GetWindowLongPtrW(hwnd, GWL_STYLE));
}

bool IsMasked(uint32_t style) {
    return (style & ES_PASSWORD) && !(style & ES_MULTILINE);
}

bool AcceptsInput(HWND hwnd) {
    TableLock lock = LockTable();
    Window* w = FindWindowLocked(hwnd);
    return w && IsEnabledChainLocked(w);
}

View Measure(HWND hwnd, const EditState& s) {
    View v;
    const uint32_t style = StyleOf(hwnd);
    v.shown = IsMasked(style) ? std::wstring(s.text.Text().size(), s.passwordChar) : s.text.Text();
    RECT client;
    GetClientRect(hwnd, &client);
    v.width = std::max(0, int(client.right) - 2 * kMargin);
    v.height = client.bottom;
    // A memory context measures as well as the window's, and also while the edit is hidden.
    HDC dc = CreateCompatibleDC(nullptr);
    if (HFONT font = reinterpret_cast<HFONT>(DefWindowProcW(hwnd, WM_GETFONT, 0, 0))) SelectObject(dc, font);
    TEXTMETRICW tm;
    if (GetTextMetricsW(dc, &tm)) v.lineHeight = std::max(1, int(tm.tmHeight));
    const bool multiline = (style & ES_MULTILINE) != 0;
    const int wrapWidth = multiline && !(style & ES_AUTOHSCROLL) ? std::max(1, v.width) : 0;
    v.lines = LayOutEdit(v.shown, multiline, wrapWidth, [dc](wchar_t ch) {
        SIZE size;
        return GetTextExtentPoint32W(dc, &ch, 1, &size) ? int(size.cx) : 0;
    });
    DeleteDC(dc);
    return v;
}

int LineLeft(uint32_t style, const View& v, const EditLine& line, int scrollX) {
    if ((style & ES_CENTER) && line.Width() <= v.width) return kMargin + (v.width - line.Width()) / 2;
    return kMargin - scrollX;
}

size_t PositionAt(HWND hwnd, const EditState& s, const View& v, POINT client) {
    long row = client.y < 0 ? -1 : client.y / v.lineHeight;
    long index = std::clamp(long(s.topLine) + row, 0L, long(v.lines.size()) - 1);
    const EditLine& line = v.lines[size_t(index)];
    return PositionOnLine(line, client.x - LineLeft(StyleOf(hwnd), v, line, s.scrollX));
}

void KeepCaretInView(HWND hwnd, EditState& s, const View& v) {
    const size_t caret = s.text.Caret();
    const size_t lineIndex = LineOfPosition(v.lines, caret);
    const EditLine& line = v.lines[lineIndex];
    if (StyleOf(hwnd) & ES_AUTOHSCROLL) {
        const int caretX = line.x[caret - line.start];
        int widest = 0;
        for (const EditLine& l : v.lines) widest = std::max(widest, l.Width());
        if (caretX - s.scrollX > v.width - 1) s.scrollX = caretX - (v.width - 1);
        if (caretX < s.scrollX) s.scrollX = caretX;
        s.scrollX = std::clamp(s.scrollX, 0, std::max(0, widest + 1 - v.width));
    } else {
        s.scrollX = 0;
    }
    const size_t rows = size_t(std::max(1, v.height / v.lineHeight));
    if (lineIndex < s.topLine) s.topLine = lineIndex;
    if (lineIndex >= s.topLine + rows) s.topLine = lineIndex - rows + 1;
    s.topLine = std::min(s.topLine, v.lines.size() - 1);
}

void Paint(HWND hwnd, const EditState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    const uint32_t style = StyleOf(hwnd);
    const bool enabled = AcceptsInput(hwnd);
    const bool editable = enabled && !(style & ES_READONLY);
    HGDIOBJ oldFont = nullptr;
    if (HFONT font = reinterpret_cast<HFONT>(DefWindowProcW(hwnd, WM_GETFONT, 0, 0)))
        oldFont = SelectObject(dc, font);
    // The parent chooses the colours: it sets them on the context and answers with the background brush.
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(editable ? COLOR_WINDOW : COLOR_BTNFACE));
    HBRUSH brush = nullptr;
    if (HWND parent = GetParent(hwnd))
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(hwnd)));
    if (!brush) brush = GetSysColorBrush(editable ? COLOR_WINDOW : COLOR_BTNFACE);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);

    const View v = Measure(hwnd, s);
    const COLORREF textColor = GetTextColor(dc), backColor = GetBkColor(dc);
    const bool showSelection = s.focused && s.text.HasSelection();
    IntersectClipRect(dc, kMargin, 0, client.right - kMargin, client.bottom);
    SetBkMode(dc, OPAQUE);
    for (size_t i = s.topLine; i < v.lines.size() && int(i - s.topLine) * v.lineHeight < client.bottom; ++i) {
        const EditLine& line = v.lines[i];
        const int left = LineLeft(style, v, line, s.scrollX), y = int(i - s.topLine) * v.lineHeight;
        // Three runs: before, inside and after the selection.
        size_t cuts[4] = {line.start, line.end, line.end, line.end};
        if (showSelection) {
            cuts[1] = std::clamp(s.text.SelectionStart(), line.start, line.end);
            cuts[2] = std::clamp(s.text.SelectionEnd(), line.start, line.end);
        }
        for (int run = 0; run < 3; ++run) {
            if (cuts[run + 1] <= cuts[run]) continue;
            const bool selected = run == 1;
            SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
            SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : backColor);
            TextOutW(dc, left + line.x[cuts[run] - line.start], y, v.shown.data() + cuts[run],
                     int(cuts[run + 1] - cuts[run]));
        }
    }
    if (s.focused && s.caretLit) {
        const size_t caret = s.text.Caret();
        const size_t i = LineOfPosition(v.lines, caret);
        const EditLine& line = v.lines[i];
        const int x = LineLeft(style, v, line, s.scrollX) + line.x[caret - line.start];
        const int y = int(i) * v.lineHeight - int(s.topLine) * v.lineHeight;
        RECT bar{x, y, x + 1, y + v.lineHeight};
        HBRUSH caretBrush = CreateSolidBrush(textColor);
        FillRect(dc, &bar, caretBrush);
        DeleteObject(caretBrush);
    }
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

}  // namespace kestrova::ui
