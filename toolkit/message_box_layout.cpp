#include "toolkit/message_box_layout.h"

#include <algorithm>

namespace kestrova::toolkit {
namespace {

constexpr std::wstring_view kLineBreakWord = L"<nl>";
constexpr int kTextMargins = 120;  // the text's left (89) and right (31) margins
constexpr int kPlainExtraHeight = 132, kCheckBoxExtraHeight = 159, kMinimumHeight = 180;
constexpr int kCheckBoxMinimumText = 20;  // a shorter text still leaves the check box room in 180 pixels
constexpr int kCheckBoxMinimumWidth = 319;

std::vector<std::wstring_view> Words(std::wstring_view text) {
    std::vector<std::wstring_view> words;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(L' ', start), text.size());
        if (end > start) words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

struct Wrapped {
    std::wstring text;
    int extraHeight = 0;
};

Wrapped Wrap(std::wstring_view text, int width, const MeasureFunction& measure) {
    Wrapped out;
    bool afterBreak = true;  // the next word starts a line: no space before it
    int breaksInRun = 0;
    for (std::wstring_view word : Words(text)) {
        if (word == kLineBreakWord) {
            out.text += L" \n";
            // The first break of a run opens a gap; each further one is an empty line, drawn lower.
            out.extraHeight += breaksInRun++ == 0 ? kMessageLineGap : -kMessageLineGap;
            afterBreak = true;
            continue;
        }
        if (!afterBreak) out.text += L' ';
        out.text += word;
        afterBreak = false;
        breaksInRun = 0;
        // Only the line being built can have grown too wide; it breaks at its last space.
        const size_t lineStart = out.text.rfind(L'\n') + 1;  // 0 when there is no line feed yet
        const size_t space = out.text.rfind(L' ');
        if (space != std::wstring::npos && space >= lineStart &&
            measure(std::wstring_view(out.text).substr(lineStart)).cx > width) {
            out.text[space] = L'\n';
            out.extraHeight += kMessageLineGap;
        }
    }
    return out;
}

int MinimumWidth(int style) {
    if (style & kMessageYesNoCancelStyle) return 319;
    if (style & kMessageYesNoStyle) return 226;
    return 135;
}

}  // namespace

int InitialMessageWidth(size_t length) {
    return length < size_t(kMessageShortText) ? kMessageNarrowWidth : kMessageWideWidth;
}

MessageLayout LayOutMessage(std::wstring_view text, int style, int initialWidth,
                            const MeasureFunction& measure) {
    const int wrapWidth = initialWidth - kTextMargins;
    MessageLayout layout;
    SIZE measured = measure(text);
    if (measured.cx > wrapWidth || text.find(kLineBreakWord) != std::wstring_view::npos) {
        Wrapped wrapped = Wrap(text, wrapWidth, measure);
        layout.text = std::move(wrapped.text);
        measured = measure(layout.text);
        measured.cy += wrapped.extraHeight;
    } else {
        layout.text = text;
        measured.cy += kMessageLineGap * int(std::count(text.begin(), text.end(), L'\n'));
    }
    layout.textHeight = measured.cy;
    const int t = layout.textHeight;
    SIZE& box = layout.box;
    box.cx = std::max(int(measured.cx) + kTextMargins, MinimumWidth(style));
    box.cy = std::max(t + kPlainExtraHeight, kMinimumHeight);
    if (style & kMessageDontShowAgain) {
        box.cy = t >= kCheckBoxMinimumText ? t + kCheckBoxExtraHeight : kMinimumHeight;
        box.cx = std::max(int(box.cx), kCheckBoxMinimumWidth);
    }
    return layout;
}

std::vector<MessageButtonPlace> MessageButtons(int style, SIZE box) {
    const int y = box.cy - 54, middle = box.cx / 2;
    if (style & kMessageYesNoCancelStyle)
        return {{kMessageYesId, {middle - 137, y}},
                {kMessageNoId, {middle - 45, y}},
                {kMessageCancelId, {middle + 47, y}}};
    if (style & kMessageYesNoStyle)
        return {{kMessageYesId, {middle - 91, y}}, {kMessageNoId, {middle + 1, y}}};
    return {{kMessageOkId, {middle - 45, y}}};
}

POINT DontShowAgainPlace(int textHeight) {
    return POINT{kMessageTextLeft, textHeight + 69};
}

}  // namespace kestrova::toolkit
