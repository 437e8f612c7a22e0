#include "toolkit/message_box_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova::toolkit {
namespace {

// A font of 6-pixel characters and 16-pixel lines, measured as DrawTextW measures: the widest line and
// all lines' height.
constexpr int kCharWidth = 6, kLineHeight = 16;

SIZE Measure(std::wstring_view text) {
    int widest = 0, lines = 1, length = 0;
    for (wchar_t ch : text) {
        if (ch == L'\n') {
            ++lines;
            length = 0;
        } else {
            widest = std::max(widest, ++length * kCharWidth);
        }
    }
    return SIZE{widest, lines * kLineHeight};
}

MessageLayout LayOut(std::wstring_view text, int style = kMessageOkStyle) {
    return LayOutMessage(text, style, InitialMessageWidth(text.size()), Measure);
}

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// "word1 word2 ... wordN", each word 5 characters.
std::wstring Words(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) text += (i ? L" w" : L"w") + std::to_wstring(1000 + i);
    return text;
}

TEST(MessageBoxLayoutTest, TheBoxFitsItsTextWithinItsMinimumsForEachStyle) {
    const struct {
        std::wstring text;
        int style;
        SIZE box;
        int textHeight;
    } cases[] = {
        {L"Saved.", kMessageOkStyle, {156, 180}, 16},
        {L"Save the changes?", kMessageYesNoStyle, {226, 180}, 16},
        {L"Save the changes?", kMessageYesNoCancelStyle, {319, 180}, 16},
        {L"Saved.", kMessageOkStyle | kMessageDontShowAgain, {319, 180}, 16},
        {L"one\ntwo", kMessageOkStyle | kMessageDontShowAgain, {319, 37 + 159}, 37},  // 5 per line feed
        {L"one\ntwo\nthree\nfour\nfive\nsix\nseven", kMessageOkStyle, {150, 132 + 7 * 16 + 30}, 7 * 16 + 30},
    };
    for (const auto& c : cases) {
        const MessageLayout layout = LayOut(c.text, c.style);
        EXPECT_EQ(layout.box.cx, c.box.cx) << c.style;
        EXPECT_EQ(layout.box.cy, c.box.cy) << c.style;
        EXPECT_EQ(layout.textHeight, c.textHeight) << c.style;
        EXPECT_EQ(layout.text, c.text) << "needs no wrap";
    }
}

TEST(MessageBoxLayoutTest, ATextWrapsAt250PixelsOrAt310WhenItHas101CharactersOrMore) {
    for (int words : {16, 17, 40}) {  // 95, 101 and 239 characters
        const std::wstring text = Words(words);
        const MessageLayout layout = LayOut(text);
        const int wrapWidth = text.size() < 101 ? 250 : 310;
        const std::vector<std::wstring> lines = Lines(layout.text);
        ASSERT_GT(lines.size(), 1u) << words;
        for (const std::wstring& line : lines) EXPECT_LE(int(line.size()) * kCharWidth, wrapWidth) << words;
        // Each line is as full as it can be: the next line's first word would not have fitted.
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            EXPECT_GT(int(lines[i].size() + 1 + 5) * kCharWidth, wrapWidth) << words;
        std::wstring unwrapped = layout.text;
        std::replace(unwrapped.begin(), unwrapped.end(), L'\n', L' ');
        EXPECT_EQ(unwrapped, text);
        const int breaks = int(lines.size()) - 1;
        EXPECT_EQ(layout.textHeight, int(lines.size()) * kLineHeight + 5 * breaks);
        EXPECT_LE(layout.box.cx, wrapWidth + 120);
    }
}

TEST(MessageBoxLayoutTest, TheLineBreakWordBreaksTheLineAndIsNotShown) {
    const struct {
        std::wstring text, shown;
        int textHeight;
    } cases[] = {
        {L"The camera is gone. <nl> Check its cable.", L"The camera is gone. \nCheck its cable.", 2 * 16 + 5},
        // A run of breaks leaves lines of one space, drawn lower than text lines.
        {L"First. <nl> <nl> Second.", L"First. \n \nSecond.", 3 * 16 + 5 - 5},
        {L"<nl> Starts low.", L" \nStarts low.", 2 * 16 + 5},
    };
    for (const auto& c : cases) {
        const MessageLayout layout = LayOut(c.text);
        EXPECT_EQ(layout.text, c.shown);
        EXPECT_EQ(layout.textHeight, c.textHeight) << layout.box.cy;
    }
}

TEST(MessageBoxLayoutTest, AWordTooLongForALineStandsAloneWithoutBreakingTheWordsAfterIt) {
    const std::wstring path = L"/home/someone/Documents/Kestrova/Videos/24-05-01/12-00-00-000.avi";  // 390 px
    const MessageLayout layout = LayOut(L"The file " + path + L" could not be written to the disk.");
    EXPECT_EQ(Lines(layout.text),
              (std::vector<std::wstring>{L"The file", path, L"could not be written to the disk."}));
    EXPECT_EQ(layout.box.cx, int(path.size()) * kCharWidth + 120) << "the long line widens the box";
}

TEST(MessageBoxLayoutTest, ButtonsStandCentredNearTheBottomAndTheCheckBoxBelowTheText) {
    const SIZE box{400, 200};
    using Places = std::vector<std::pair<int, int>>;  // id, x; every button at y = 146
    const struct {
        int style;
        Places places;
    } cases[] = {
        {kMessageOkStyle, {{kMessageOkId, 155}}},
        {kMessageYesNoStyle, {{kMessageYesId, 109}, {kMessageNoId, 201}}},
        {kMessageYesNoCancelStyle, {{kMessageYesId, 63}, {kMessageNoId, 155}, {kMessageCancelId, 247}}},
        {kMessageOkStyle | kMessageDontShowAgain, {{kMessageOkId, 155}}},
        {kMessageYesNoStyle | kMessageDontShowAgain, {{kMessageYesId, 109}, {kMessageNoId, 201}}},
    };
    for (const auto& c : cases) {
        Places places;
        for (const MessageButtonPlace& button : MessageButtons(c.style, box)) {
            places.emplace_back(button.id, button.at.x);
            EXPECT_EQ(button.at.y, 146);
        }
        EXPECT_EQ(places, c.places) << c.style;
    }
    EXPECT_EQ(DontShowAgainPlace(16).x, 89);
    EXPECT_EQ(DontShowAgainPlace(16).y, 85);
}

}  // namespace
}  // namespace kestrova::toolkit
