#pragma once
// Where an edit's characters go: its lines (split at line breaks, wrapped to a width) and the x of every
// caret stop on them.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace kestrova::ui {

struct EditLine {
    size_t start = 0;    // the first character
    size_t end = 0;      // after the last character shown; a line break after it is not shown
    std::vector<int> x;  // x[i]: the width of the line's first i characters; end - start + 1 values

    int Width() const { return x.back(); }
};

// Lays out `shown` in lines: one unless `multiline`, else split at each line break and, when `wrapWidth` is
// positive, wrapped after the last space that fits (inside a word only when it alone is too wide). Spaces
// may run past the width rather than start a line. Never empty.
std::vector<EditLine> LayOutEdit(std::wstring_view shown, bool multiline, int wrapWidth,
                                 const std::function<int(wchar_t)>& advance);
// The line showing `position`: the last one starting at or before it.
size_t LineOfPosition(const std::vector<EditLine>& lines, size_t position);
// The caret stop on `line` nearest to `x` (line coordinates).
size_t PositionOnLine(const EditLine& line, int x);

}  // namespace kestrova::ui
