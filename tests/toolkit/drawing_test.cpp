#include "toolkit/drawing.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/base/debug.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/debug_trace.h"
#include "toolkit/dialog_items.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kDash = RGB(192, 194, 194), kWhite = RGB(255, 255, 255);

TEST(CreateUiFontTest, TheFontIsDescribedAsAsked) {
    HFONT font = CreateUiFont(L"Tahoma", 15, 1, 1);
    LOGFONTW got;
    ASSERT_EQ(GetObjectW(font, sizeof got, &got), int(sizeof got));
    EXPECT_EQ(std::wstring(got.lfFaceName), L"Tahoma");
    EXPECT_EQ(got.lfHeight, 15);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_EQ(got.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(got.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(got.lfPitchAndFamily, FF_SWISS);
    EXPECT_EQ(got.lfUnderline, 0);
    DeleteObject(font);
    font = CreateUiFont(L"Tahoma", 13, 0, 0);
    GetObjectW(font, sizeof got, &got);
    EXPECT_EQ(got.lfWeight, FW_NORMAL);
    EXPECT_EQ(got.lfQuality, NONANTIALIASED_QUALITY);
    DeleteObject(font);
}

// A white 100 x 100 memory bitmap to draw on.
class DashedFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, 100, 100);
        old = SelectObject(dc, bitmap);
        const RECT all{0, 0, 100, 100};
        FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // The offsets from `start` along a line where the dashes are.
    std::set<int> Dashes(int x, int y, int dx, int dy, int length) {
        std::set<int> found;
        for (int k = 0; k < length; ++k)
            if (GetPixel(dc, x + k * dx, y + k * dy) == kDash) found.insert(k);
        return found;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(DashedFrameTest, DashesOfTwoPixelsEverySixRunAroundTheFrameWithTheCaptionAbove) {
    SetTextColor(dc, RGB(70, 70, 72));
    SetBkMode(dc, TRANSPARENT);
    EXPECT_EQ(DrawDashedFrame(dc, L"Devices", 10, 30, 20, 40), 1);
    const std::set<int> across{3, 4, 9, 10, 15, 16};
    EXPECT_EQ(Dashes(10, 30, 1, 0, 20), across);
    EXPECT_EQ(Dashes(10, 69, 1, 0, 20), across);
    const std::set<int> down{3, 4, 9, 10, 15, 16, 21, 22, 27, 28, 33, 34};
    EXPECT_EQ(Dashes(10, 30, 0, 1, 40), down);
    EXPECT_EQ(Dashes(29, 30, 0, 1, 40), down);
    int caption = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool text = GetPixel(dc, x, y) == RGB(70, 70, 72);
            const bool inPlace = x >= 19 && y >= 12 && y < 30;
            (inPlace ? caption : outside) += text;
        }
    EXPECT_GT(caption, 20);
    EXPECT_EQ(outside, 0);
}

class DialogItemsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        for (int id = 1; id <= 3; ++id)
            items[id - 1] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 30 * id, 100, 20,
                                            parent, uintptr_t(id), nullptr, nullptr);
    }
    std::string Enabled() {
        std::string state;
        for (HWND item : items) state += IsWindowEnabled(item) ? '1' : '0';
        return state;
    }
    HWND items[3] = {};
};

TEST_F(DialogItemsTest, EnableDlgItemsChangesTheListedChildrenUpToTheZero) {
    EnableDlgItems(FALSE, parent, 1, 99, 3, 0);  // an id without a child is skipped
    EXPECT_EQ(Enabled(), "010");
    EnableDlgItems(FALSE, parent, 0);
    EXPECT_EQ(Enabled(), "010");
    EnableDlgItems(TRUE, parent, 3, 0, 1);
    EXPECT_EQ(Enabled(), "011");
}

class DebugTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = SetDebugSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override { SetDebugSink(previous); }
    DebugSink previous;
    std::vector<std::string> lines;
};

TEST_F(DebugTraceTest, ValuesAreWrittenInOrderUntilTheFormatOrTheValuesEnd) {
    DebugTrace(L"%s %i %f", L"cam", 3, 0.25);
    DebugTrace(L"%i %x %i", 1, 2, 3);  // an unknown letter ends the list
    DebugTrace(L"%i %i %i", 5);        // so do the values
    DebugTrace(L"nothing to trace");
    DebugTrace(L"%i", L"not a number");  // and a value of another kind
    DebugTrace(L"%s %s", L"", L"b");
    DebugTrace(L"%s", static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(lines,
              (std::vector<std::string>{"cam | 3 | 0.250\n", "1\n", "5\n", "\n", "\n", " | b\n", "\n"}));
}

TEST_F(DebugTraceTest, ALongLineIsCutTo511Characters) {
    const std::wstring longText(600, L'x');
    DebugTrace(L"%s %i", longText.c_str(), 7);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(510, 'x') + "\n");
}

}  // namespace
}  // namespace kestrova::uitest
