#pragma once
// How a label fits itself to its text, apart from the window so it can be followed with any measure.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.h"

namespace kestrova::toolkit {

inline constexpr int kLabelLineGap = 5;  // pixels between two lines of a label
inline constexpr int kLabelMinimumHeight = 14;

// The size of a text as DrawTextW measures it: its widest line, and all its lines' height.
using MeasureFunction = std::function<SIZE(std::wstring_view text)>;

struct LabelFit {
    SIZE size;
    // When the text was too wide: the text wrapped at spaces, which the label takes as its new text.
    std::optional<std::wstring> wrapped;
};

// The label's new size for `text`, within `bounds` (its size now; a zero side is unbounded).
// A text wider than a bounded width is wrapped (when `mayWrap`): words are added one at a time, and each
// time the text grows too wide its last space becomes a line break, which adds 5 pixels of height; a single
// word too wide for the width stays on its line. Otherwise the label takes the text's width and its height
// with 5 pixels per line feed, at least 14 high; either side is cut to a bounded side that is smaller.
LabelFit FitLabel(std::wstring_view text, SIZE bounds, const MeasureFunction& measure, bool mayWrap);

// The lines a label paints: the text split at line feeds, where consecutive line feeds make no empty line.
std::vector<std::wstring_view> LabelLines(std::wstring_view text);

}  // namespace kestrova::toolkit
