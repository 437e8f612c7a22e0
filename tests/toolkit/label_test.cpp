#include "toolkit/label.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/drawing.h"
#include "toolkit/label_fit.h"

namespace kestrova::toolkit {
namespace {

// A measure of 10 pixels a character and 16 a line.
SIZE Measure(std::wstring_view text) {
    int widest = 0, lines = 1, current = 0;
    for (wchar_t c : text) {
        if (c == L'\n') {
            ++lines;
            current = 0;
        } else {
            widest = std::max(widest, current += 10);
        }
    }
    return SIZE{widest, text.empty() ? 0 : 16 * lines};
}

TEST(LabelFitTest, ATextThatFitsSetsTheSizeWithFivePixelsPerLineFeedWithinTheBounds) {
    const struct {
        const wchar_t* text;
        SIZE bounds, expected;
    } cases[] = {
        {L"Hello", {300, 18}, {50, 16}},    // shrinks to the text
        {L"Hello", {0, 0}, {50, 16}},       // unbounded
        {L"Hi", {300, 10}, {20, 10}},       // cut to a lower height
        {L"One\nTwo", {300, 0}, {30, 37}},  // 2 x 16 + 5
        {L"A\n\nB", {300, 0}, {10, 58}},    // every line feed counts
        {L"", {300, 18}, {0, 14}},          // at least 14 high
    };
    for (const auto& c : cases) {
        const LabelFit fit = FitLabel(c.text, c.bounds, Measure, true);
        EXPECT_FALSE(fit.wrapped);
        EXPECT_EQ(fit.size.cx, c.expected.cx) << std::wstring(c.text).size();
        EXPECT_EQ(fit.size.cy, c.expected.cy) << std::wstring(c.text).size();
    }
}

TEST(LabelFitTest, ATooWideTextWrapsAtSpacesAndGrowsFivePixelsPerBreak) {
    const struct {
        const wchar_t* text;
        SIZE bounds;
        const wchar_t* wrapped;
        SIZE expected;
    } cases[] = {
        {L"aaaa bbbb cccc dddd", {100, 0}, L"aaaa bbbb\ncccc dddd", {90, 37}},
        {L"aaaa   bbbb cccc", {60, 0}, L"aaaa\nbbbb\ncccc", {40, 58}},  // a run of spaces is one
        {L"aaaa bbbb cccc dddd", {100, 20}, L"aaaa bbbb\ncccc dddd", {90, 20}},
        // A word wider than the label stays whole; the label becomes as wide as it.
        {L"abcdefghijkl xy", {100, 0}, L"abcdefghijkl\nxy", {120, 37}},
    };
    for (const auto& c : cases) {
        const LabelFit fit = FitLabel(c.text, c.bounds, Measure, true);
        ASSERT_TRUE(fit.wrapped) << c.wrapped;
        EXPECT_EQ(*fit.wrapped, c.wrapped);
        EXPECT_EQ(fit.size.cx, c.expected.cx) << c.wrapped;
        EXPECT_EQ(fit.size.cy, c.expected.cy) << c.wrapped;
    }
    EXPECT_FALSE(FitLabel(L"aaaa bbbb cccc", {60, 0}, Measure, false).wrapped);
}

TEST(LabelFitTest, LinesAreSplitAtLineFeedsWithoutEmptyOnes) {
    EXPECT_EQ(LabelLines(L"a\n\nb\n"), (std::vector<std::wstring_view>{L"a", L"b"}));
    EXPECT_EQ(LabelLines(L"one line"), (std::vector<std::wstring_view>{L"one line"}));
    EXPECT_TRUE(LabelLines(L"").empty());
}

}  // namespace
}  // namespace kestrova::toolkit

namespace kestrova::uitest {
namespace {

constexpr COLORREF kText = RGB(70, 70, 72);

using LabelTest = ToolkitTest;

TEST_F(LabelTest, ALongTextWrapsWithinTheLabelsWidthAndEachLineIsPaintedFivePixelsBelowTheLast) {
    const std::wstring text =
        L"Photos, videos and sounds of every alarm are saved below the storage folder, in a folder of each "
        L"day.";
    HWND label = CreateLabelEx(parent, text.c_str(), 5, 10, 10, 300, 0, 13, 0);
    wchar_t wrapped[256];
    GetWindowTextW(label, wrapped, 256);
    const std::vector<std::wstring_view> lines = toolkit::LabelLines(wrapped);
    ASSERT_GT(lines.size(), 1u);
    int widest = 0;
    for (std::wstring_view line : lines) widest = std::max(widest, Measured(std::wstring(line)).cx);
    EXPECT_LE(widest, 300);
    EXPECT_EQ(ClientSize(label).cx, widest);
    const int lineHeight = Measured(L"Port").cy;
    EXPECT_EQ(ClientSize(label).cy, int(lines.size()) * (lineHeight + 5) - 5);
    PumpMessages();
    for (size_t i = 0; i < lines.size(); ++i) {
        const int top = int(i) * (lineHeight + 5);
        EXPECT_GT(CountPixels(label, RECT{0, top, ClientSize(label).cx, top + lineHeight}, kText), 20) << i;
        if (i > 0) {
            EXPECT_EQ(CountPixels(label, RECT{0, top - 5, ClientSize(label).cx, top}, kText), 0) << i;
        }
    }
}

TEST_F(LabelTest, ATextThatFitsShrinksTheLabelAndItsCreatedHeightBoundsAWrap) {
    HWND heading = CreateLabelEx(parent, L"Tolerance", 5, 10, 10, 300, 18, 15, 1);
    EXPECT_LE(ClientSize(heading).cx, 100);
    EXPECT_GE(ClientSize(heading).cy, 14);
    EXPECT_LE(ClientSize(heading).cy, 18);
    HWND low =
        CreateLabelEx(parent, L"one two three four five six seven eight nine ten", 6, 10, 40, 80, 20, 13, 0);
    EXPECT_EQ(ClientSize(low).cy, 20);
}

TEST_F(LabelTest, APressOnTheLabelReachesTheParentInTheLabelsCoordinates) {
    HWND label = CreateLabelEx(parent, L"Port", 5, 10, 10, 0, 0, 13, 0);
    log.recordClicks = true;
    ClickAt(label, POINT{5, 7}, MouseButton::Right);
    ClickAt(label, POINT{3, 4});
    EXPECT_EQ(HeardFrom(parent), (std::vector<std::string>{"rbuttondown 5,7", "lbuttondown 3,4"}));
}

}  // namespace
}  // namespace kestrova::uitest
