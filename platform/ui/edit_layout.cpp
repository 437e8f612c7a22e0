#include "platform/ui/edit_layout.h"

#include <cstdlib>

namespace kestrova::ui {
namespace {

EditLine MakeLine(std::wstring_view shown, size_t start, size_t end,
                  const std::function<int(wchar_t)>& advance) {
    EditLine line;
    line.start = start;
    line.end = end;
    line.x.reserve(end - start + 1);
    line.x.push_back(0);
    for (size_t i = start; i < end; ++i) line.x.push_back(line.x.back() + advance(shown[i]));
    return line;
}

// Wraps the paragraph [start, end) into `lines`.
void Wrap(std::wstring_view shown, size_t start, size_t end, int wrapWidth,
          const std::function<int(wchar_t)>& advance, std::vector<EditLine>& lines) {
    size_t lineStart = start;
    int width = 0;
    size_t breakAfterSpace = 0;  // where the line may end: after its last space, 0 when it has none
    for (size_t i = start; i < end; ++i) {
        wchar_t ch = shown[i];
        int w = advance(ch);
        if (ch != L' ' && width + w > wrapWidth && i > lineStart) {
            size_t cut = breakAfterSpace > lineStart ? breakAfterSpace : i;
            lines.push_back(MakeLine(shown, lineStart, cut, advance));
            lineStart = cut;
            breakAfterSpace = 0;
            width = 0;
            for (size_t j = lineStart; j < i; ++j) width += advance(shown[j]);
        }
        width += w;
        if (ch == L' ') breakAfterSpace = i + 1;
    }
    lines.push_back(MakeLine(shown, lineStart, end, advance));
}

}  // namespace

std::vector<EditLine> LayOutEdit(std::wstring_view shown, bool multiline, int wrapWidth,
                                 const std::function<int(wchar_t)>& advance) {
    std::vector<EditLine> lines;
    if (!multiline) {
        lines.push_back(MakeLine(shown, 0, shown.size(), advance));
        return lines;
    }
    size_t start = 0;
    for (;;) {
        size_t feed = shown.find(L'\n', start);
        size_t end = feed == std::wstring_view::npos ? shown.size() : feed;
        size_t shownEnd = end > start && shown[end - 1] == L'\r' ? end - 1 : end;
        if (wrapWidth > 0)
            Wrap(shown, start, shownEnd, wrapWidth, advance, lines);
        else
            lines.push_back(MakeLine(shown, start, shownEnd, advance));
        if (feed == std::wstring_view::npos) break;
        start = feed + 1;
    }
    return lines;
}

size_t LineOfPosition(const std::vector<EditLine>& lines, size_t position) {
    size_t found = 0;
    for (size_t i = 0; i < lines.size() && lines[i].start <= position; ++i) found = i;
    return found;
}

size_t PositionOnLine(const EditLine& line, int x) {
    size_t best = 0;
    for (size_t i = 1; i < line.x.size(); ++i)
        if (std::abs(line.x[i] - x) < std::abs(line.x[best] - x)) best = i;
    return line.start + best;
}

}  // namespace kestrova::ui
