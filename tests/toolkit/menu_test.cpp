#include "toolkit/menu.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/ui/painting.h"
#include "tests/toolkit/toolkit_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kBorder = RGB(220, 220, 220), kHighlight = RGB(86, 121, 179),
                   kHighlightCorner = RGB(170, 188, 217), kWhite = RGB(255, 255, 255);

// What the popup's owner got: "command id, index, lParam" for each WM_COMMAND.
std::vector<std::string> g_commands;
// When set, the owner takes the focus back while it handles a command, as a window that opens another
// would.
bool g_takeFocusOnCommand = false;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        g_commands.push_back(std::to_string(LOWORD(wParam)) + ", " + std::to_string(HIWORD(wParam)) + ", " +
                             std::to_string(lParam));
        if (g_takeFocusOnCommand) SetActiveWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Row {
    int kind;
    int command;
    const wchar_t* text;
};
MenuItemList ListOf(std::initializer_list<Row> rows) {
    MenuItemList list;
    for (const Row& row : rows) list.Insert(row.kind, row.command, row.text, 0, -1);
    return list;
}

// A menu owner at (500, 100), 300 x 300, beside the fixture's parent window.
class MenuTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        static const bool registered = [] {
            WNDCLASSW wc;
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = L"KestrovaMenuOwner";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        owner = CreateWindowExW(0, L"KestrovaMenuOwner", L"", WS_POPUP | WS_VISIBLE, 500, 100, 300, 300,
                                nullptr, 0, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        SetActiveWindow(owner);
        g_commands.clear();
        g_takeFocusOnCommand = false;
        PumpMessages();
    }
    void TearDown() override {
        DestroyWindow(owner);
        ToolkitTest::TearDown();
    }
    // Opens `list` at (20, 30) of the owner, 160 wide; the popup, or null.
    HWND Open(const MenuItemList& list) {
        if (!ShowMenuEx(owner, 20, 30, 160, &list)) return nullptr;
        PumpMessages();
        return FindWindowW(L"WMenuEx_0000", nullptr);
    }
    // The rows (by their top) that show the highlight bar.
    std::vector<int> HighlightedRows(HWND popup, const std::vector<int>& tops) {
        PumpMessages();
        std::vector<int> lit;
        for (int top : tops)
            if (ReadPixel(popup, 60, top + 1) == kHighlight) lit.push_back(top);
        return lit;
    }

    HWND owner = nullptr;
};

using Rows = std::vector<int>;

TEST_F(MenuTest, ItemsAndSeparatorsSizeThePopupAtTheOwnersPointWithCutCorners) {
    const MenuItemList list = ListOf({{kMenuCommand, 1, L"First"},
                                      {kMenuCommand, 2, L"Second"},
                                      {kMenuSeparator, 0, L""},
                                      {kMenuCommand, 3, L"Third"}});
    HWND popup = Open(list);
    ASSERT_NE(popup, nullptr);
    RECT placed;
    GetWindowRect(popup, &placed);
    EXPECT_EQ(placed.left, 520);
    EXPECT_EQ(placed.top, 130);
    EXPECT_EQ(placed.right - placed.left, 160);
    EXPECT_EQ(placed.bottom - placed.top, 10 + 3 * 22 + 11);
    EXPECT_EQ(GetParent(popup), owner);
    EXPECT_EQ(GetActiveWindow(), popup);
    EXPECT_EQ(GetFocus(), popup);

    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(popup, shape), RGN_ERROR);
    for (POINT cut : {POINT{0, 0}, POINT{159, 0}, POINT{0, 86}, POINT{159, 86}})
        EXPECT_FALSE(PtInRegion(shape, cut.x, cut.y)) << cut.x << "," << cut.y;
    for (POINT kept : {POINT{1, 0}, POINT{0, 1}, POINT{158, 86}, POINT{159, 85}})
        EXPECT_TRUE(PtInRegion(shape, kept.x, kept.y)) << kept.x << "," << kept.y;
    DeleteObject(shape);

    // A double frame, then white; the separator's line in the frame's colour.
    EXPECT_EQ(ReadPixel(popup, 0, 40), kBorder);
    EXPECT_EQ(ReadPixel(popup, 1, 40), kBorder);
    EXPECT_EQ(ReadPixel(popup, 2, 40), kWhite);
    EXPECT_EQ(CountPixels(popup, RECT{0, 49, 160, 60}, kBorder), 2 * 2 * 11 + (155 - 30));
}

TEST_F(MenuTest, TracksTheItemUnderTheCursorButNeverACaptionOrSeparator) {
    const MenuItemList list = ListOf({{kMenuCaption, 0, L"Addresses"},
                                      {kMenuCommand, 11, L"127.0.0.7"},
                                      {kMenuSeparator, 0, L""},
                                      {kMenuCommand, 12, L"127.0.0.1"},
                                      {kMenuCommand, 13, L""}});  // rows start at 5, 27, 49, 60, 82
    const Rows tops{5, 27, 49, 60, 82};
    HWND popup = Open(list);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(HighlightedRows(popup, tops), Rows{});

    const struct {
        int y;
        Rows lit;
    } moves[] = {{30, {27}},   {48, {27}},  {49, Rows{}},  {59, Rows{}}, {60, {60}},
                 {10, Rows{}}, {103, {82}}, {104, Rows{}}, {2, Rows{}}};
    for (const auto& move : moves) {
        MoveTo(popup, POINT{100, move.y});
        EXPECT_EQ(HighlightedRows(popup, tops), move.lit) << "y " << move.y;
    }

    MoveTo(popup, POINT{100, 70});
    EXPECT_EQ(ReadPixel(popup, 30, 60), kHighlightCorner);
    EXPECT_EQ(ReadPixel(popup, 154, 81), kHighlightCorner);
    EXPECT_EQ(ReadPixel(popup, 155, 70), kWhite) << "the bar ends 5 pixels from the edge";
    EXPECT_GT(CountPixels(popup, RECT{38, 60, 147, 82}, kWhite), 20) << "white text on the bar";
    MoveTo(owner, POINT{250, 250});  // off the popup: the next tick of the hover timer clears it
    AdvanceClock(clock, 10);
    EXPECT_EQ(HighlightedRows(popup, tops), Rows{});
}

TEST_F(MenuTest, ShowsTheCheckMarkOfTheCheckedItem) {
    MenuItemList list = ListOf({{kMenuCommand, 1, L"one"}, {kMenuCommand, 2, L"two"}});
    list.Check(1);
    HWND popup = Open(list);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(CountPixels(popup, RECT{10, 5, 20, 27}, kHighlight), 0);
    // 2 x 8 + 1 x 6 + 1 x 4 + 1 x 2 pixels, from (14, 27 + 7).
    EXPECT_EQ(CountPixels(popup, RECT{10, 27, 20, 49}, kHighlight), 28);
    EXPECT_EQ(ReadPixel(popup, 14, 34), kHighlight);
    EXPECT_EQ(ReadPixel(popup, 18, 37), kHighlight);
}

TEST_F(MenuTest, AClickSendsTheCommandAndTheIndexAndCloses) {
    const MenuItemList list = ListOf({{kMenuCommand, 501, L"first"},
                                      {kMenuCaption, 0, L"caption"},
                                      {kMenuCommand, 503, L"third"},
                                      {kMenuSeparator, 0, L""}});
    HWND popup = Open(list);
    ASSERT_NE(popup, nullptr);
    for (int y : {2, 30, 75, 84}) {  // margin, caption, separator, bottom margin
        ClickAt(popup, POINT{80, y});
        EXPECT_TRUE(IsWindow(popup)) << "y " << y;
    }
    EXPECT_TRUE(g_commands.empty());
    ClickAt(popup, POINT{80, 60});
    EXPECT_EQ(g_commands, (std::vector<std::string>{"503, 2, 0"}));
    EXPECT_FALSE(IsWindow(popup));

    // The list stays the caller's: it opens again, and an owner that takes the focus back while it
    // handles the command closes the popup on the way.
    g_commands.clear();
    g_takeFocusOnCommand = true;
    popup = Open(list);
    ASSERT_NE(popup, nullptr);
    ClickAt(popup, POINT{80, 10});
    EXPECT_EQ(g_commands, (std::vector<std::string>{"501, 0, 0"}));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(MenuTest, ClosesWithoutACommandWhenItLosesTheFocus) {
    const MenuItemList list = ListOf({{kMenuCommand, 1, L"only"}});
    HWND popup = Open(list);
    ASSERT_NE(popup, nullptr);
    ClickAt(owner, POINT{250, 250});
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(g_commands.empty());

    popup = Open(list);
    SendMessageW(popup, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(MenuTest, AnEmptyOrMissingListOpensNothing) {
    const std::vector<HWND> before = TopLevelWindows(false);
    MenuItemList empty;
    EXPECT_EQ(ShowMenuEx(owner, 0, 0, 100, &empty), 0);
    EXPECT_EQ(ShowMenuEx(owner, 0, 0, 100, nullptr), 0);
    EXPECT_EQ(TopLevelWindows(false), before);
}

}  // namespace
}  // namespace kestrova::uitest
