#include <string>
#include <vector>

#include "platform/ui/menus.h"
#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr int kMainMenu = 4608;  // a menu resource the program ships
constexpr int kRowHeight = 22;   // a command's row in a popup, below a 1-pixel border

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[64];
    int length = GetMenuStringW(menu, UINT(position), text, 64, MF_BYPOSITION);
    return std::wstring(text, length);
}

TEST(LoadMenu, TheMainMenuResourceHasItsEntriesInOrder) {
    HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(kMainMenu));
    ASSERT_NE(bar, nullptr);
    HMENU menu = GetSubMenu(bar, 0);
    ASSERT_NE(menu, nullptr);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
    EXPECT_EQ(ids, (std::vector<UINT>{4609, 4610, 0, 4617, 4624, 0, UINT(-1), 0, 4611, 4612, 4613}));
    EXPECT_EQ(ItemText(menu, 3), L"Help...");
    EXPECT_EQ(ItemText(menu, 6), L"Join us on");
    HMENU join = GetSubMenu(menu, 6);
    ASSERT_NE(join, nullptr);
    EXPECT_EQ(GetMenuItemID(join, 1), 4615u);

    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(menu));  // submenus go with their menu
    EXPECT_FALSE(IsMenu(join));
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

class PopupMenuTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        owner = &Make("owner", nullptr, WS_POPUP, RECT{100, 100, 500, 400});
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 11, L"First");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 12, L"Greyed");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 21, L"Inner one");
        AppendMenuW(sub, MF_STRING, 22, L"Inner two");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"More");
        AppendMenuW(menu, MF_STRING, 13, L"Last");
    }
    void TearDown() override {
        DestroyMenu(menu);
        UiTest::TearDown();
    }

    // The open popups, the first menu first.
    static std::vector<HWND> Popups() {
        std::vector<HWND> found;
        for (HWND w : TopLevelWindows()) {
            wchar_t name[16];
            GetClassNameW(w, name, 16);
            if (std::wstring(name) == L"#32768") found.insert(found.begin(), w);
        }
        return found;
    }

    // The screen point in the middle of a row of a popup; separators are 7 pixels high.
    static POINT Row(HWND popup, int top, int height = kRowHeight) {
        RECT r;
        GetWindowRect(popup, &r);
        return POINT{r.left + 40, r.top + 1 + top + height / 2};
    }

    std::vector<UINT> Commands() {
        PumpMessages();
        std::vector<UINT> ids;
        for (const LoggedMessage& m : log)
            if (m.message == WM_COMMAND) ids.push_back(UINT(m.wParam));
        return ids;
    }

    TestWindow* owner = nullptr;
    HMENU menu = nullptr;
};

TEST_F(PopupMenuTest, AClickedCommandIsPostedToTheOwnerAndThePopupGoes) {
    LoopSteps steps;
    steps.Then([&] {
        ASSERT_EQ(Popups().size(), 1u);
        RECT r;
        GetWindowRect(Popups()[0], &r);
        EXPECT_EQ(r.left, 150);
        EXPECT_EQ(r.top, 160);
        Click(Row(Popups()[0], 0));
    });
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTBUTTON, 150, 160, 0, owner->hwnd, nullptr));
    EXPECT_TRUE(Popups().empty());
    EXPECT_EQ(Commands(), std::vector<UINT>{11});
}

TEST_F(PopupMenuTest, GreyedItemsAndSeparatorsCannotBeChosen) {
    LoopSteps steps;
    steps.Then([&] { Click(Row(Popups()[0], kRowHeight)); });         // greyed
    steps.Then([&] { Click(Row(Popups()[0], 2 * kRowHeight, 7)); });  // the separator
    steps.Then([&] { PressKey(VK_ESCAPE); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 160, 0, owner->hwnd, nullptr), 0);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(PopupMenuTest, HoveringASubmenuOpensItBesideTheItem) {
    LoopSteps steps;
    steps.Then([&] {
        MoveMouse(Row(Popups()[0], 2 * kRowHeight + 7));
        ASSERT_EQ(Popups().size(), 2u);
        RECT outer, inner;
        GetWindowRect(Popups()[0], &outer);
        GetWindowRect(Popups()[1], &inner);
        EXPECT_EQ(inner.left, outer.right);
        Click(Row(Popups()[1], kRowHeight));
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 160, 0, owner->hwnd, nullptr), 22);
    EXPECT_TRUE(Popups().empty());
    EXPECT_TRUE(Commands().empty());  // returned, not posted
}

TEST_F(PopupMenuTest, KeysMoveOverSelectableItemsAndOpenSubmenus) {
    struct Case {
        std::vector<UINT> keys;
        int chosen;
    };
    const Case cases[] = {
        {{VK_DOWN, VK_RETURN}, 11},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, 0},                      // "More" opens, nothing chosen yet...
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, 22},  // ...and its items are reached
        {{VK_UP, VK_RETURN}, 13},                                // from nothing hot, Up wraps to the end
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT, VK_DOWN, VK_RETURN}, 13},
    };
    for (const Case& c : cases) {
        LoopSteps steps;
        steps.Then([&] {
            for (UINT key : c.keys) PressKey(key);
            PressKey(VK_ESCAPE);  // ends what is still open
            PressKey(VK_ESCAPE);
        });
        EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 160, 0, owner->hwnd, nullptr), c.chosen);
    }
}

TEST_F(PopupMenuTest, AClickOutsideDismissesWithoutReachingTheWindowBelow) {
    LoopSteps steps;
    steps.Then([&] { Click(POINT{450, 350}); });  // on the owner, away from the menu
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTBUTTON, 150, 160, 0, owner->hwnd, nullptr));
    EXPECT_TRUE(Commands().empty());
    for (const LoggedMessage& m : log) EXPECT_NE(m.message, UINT(WM_LBUTTONDOWN));
}

TEST_F(PopupMenuTest, StaysOnTheScreenAndEndsOnQuit) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    LoopSteps steps;
    steps.Then([&] {
        RECT r;
        GetWindowRect(Popups()[0], &r);
        EXPECT_EQ(r.right, width);
        EXPECT_LE(r.bottom, height);
        PostQuitMessage(7);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, width - 5, height - 5, 0, owner->hwnd, nullptr), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // the quit is kept for the outer loop
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(TrackPopupMenu(nullptr, 0, 0, 0, 0, owner->hwnd, nullptr));
}

}  // namespace
}  // namespace kestrova::uitest
