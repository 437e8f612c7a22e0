#include "toolkit/label_fit.h"

#include <algorithm>

namespace kestrova::toolkit {
namespace {

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

int CutTo(int side, int bound) {
    return bound != 0 && bound < side ? bound : side;
}

LabelFit Wrap(const std::vector<std::wstring_view>& words, SIZE bounds, const MeasureFunction& measure) {
    std::wstring working(words.front());
    int extra = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const size_t lastSpace = working.rfind(L' ');
        if (lastSpace != std::wstring::npos && measure(working).cx > bounds.cx) {
            working[lastSpace] = L'\n';
            extra += kLabelLineGap;
        }
        if (i + 1 < words.size()) (working += L' ') += words[i + 1];
    }
    const SIZE wrapped = measure(working);
    return LabelFit{SIZE{wrapped.cx, CutTo(wrapped.cy + extra, bounds.cy)}, std::move(working)};
}

}  // namespace

LabelFit FitLabel(std::wstring_view text, SIZE bounds, const MeasureFunction& measure, bool mayWrap) {
    const SIZE measured = measure(text);
    if (mayWrap && bounds.cx != 0 && measured.cx > bounds.cx) {
        const std::vector<std::wstring_view> words = Split(text, L' ');
        if (!words.empty()) return Wrap(words, bounds, measure);
    }
    const int lineFeeds = int(std::count(text.begin(), text.end(), L'\n'));
    const int height = std::max(measured.cy + kLabelLineGap * lineFeeds, kLabelMinimumHeight);
    return LabelFit{SIZE{CutTo(measured.cx, bounds.cx), CutTo(height, bounds.cy)}, std::nullopt};
}

std::vector<std::wstring_view> LabelLines(std::wstring_view text) {
    return Split(text, L'\n');
}

}  // namespace kestrova::toolkit
