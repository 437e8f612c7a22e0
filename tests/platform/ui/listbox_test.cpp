#include "platform/ui/listbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr int kListId = 1041;
constexpr int kItemHeight = 20;
constexpr uint32_t kOwnerDrawn =
    LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;

struct Drawn {
    UINT item;
    UINT action;
    UINT state;
    RECT place;
    uintptr_t data;
};

std::string Show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// A parent at (100, 100) holding one list box at (10, 10), 200 x 100: five rows of 20 pixels. The parent
// answers the owner-draw messages and records them with the list's notifications.
class ListBoxTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        parent = &Make("parent", nullptr, WS_POPUP, {100, 100, 400, 400});
        parent->answer = [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_MEASUREITEM) {
                measured.push_back(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
                return TRUE;
            }
            if (msg == WM_DRAWITEM) {
                auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                EXPECT_EQ(d->CtlType, ODT_LISTBOX);
                EXPECT_EQ(d->hwndItem, list);
                drawn.push_back({d->itemID, d->itemAction, d->itemState, d->rcItem, d->itemData});
                return TRUE;
            }
            if (msg == WM_VKEYTOITEM) return keyAnswer;
            if (msg == WM_COMMAND) captureAtNotice.push_back(GetCapture());
            return std::nullopt;
        };
    }

    HWND MakeList(uint32_t style, int itemCount = 0) {
        list = CreateWindowExW(0, L"ListBox", L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 100,
                               parent->hwnd, kListId, nullptr, nullptr);
        EXPECT_NE(list, nullptr);
        for (int i = 0; i < itemCount; ++i) Add(L"item " + std::to_wstring(i), 5000 + i);
        PumpMessages();
        drawn.clear();
        log.clear();
        return list;
    }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(list, msg, wParam, lParam);
    }
    LRESULT Add(const std::wstring& text, LPARAM data = 0) {
        LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Send(LB_SETITEMDATA, WPARAM(index), data);
        return index;
    }
    std::wstring TextOf(int index) {
        std::wstring text(size_t(Send(LB_GETTEXTLEN, WPARAM(index))), L'\0');
        Send(LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
        return text;
    }
    int Selected() { return int(Send(LB_GETCURSEL)); }
    int Top() { return int(Send(LB_GETTOPINDEX)); }
    // A list's client point on the screen.
    POINT At(int x, int y) { return OnScreen(list, POINT{x, y}); }
    POINT AtItem(int row) { return At(20, row * kItemHeight + kItemHeight / 2); }
    // A click long enough after the last one not to make a double click.
    void ClickLater(POINT screen) {
        AdvanceClock(clock, GetDoubleClickTime() + 1);
        Click(screen);
    }

    // The notification codes the parent got from the list since the last look.
    std::vector<int> Notifications() {
        std::vector<int> codes;
        for (auto& m : log)
            if (m.message == WM_COMMAND && LOWORD(m.wParam) == kListId &&
                m.lParam == reinterpret_cast<LPARAM>(list))
                codes.push_back(HIWORD(m.wParam));
        log.clear();
        return codes;
    }
    std::vector<UINT> DrawnItems() {
        std::vector<UINT> items;
        for (auto& d : drawn) items.push_back(d.item);
        drawn.clear();
        return items;
    }

    TestWindow* parent = nullptr;
    HWND list = nullptr;
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<Drawn> drawn;
    LRESULT keyAnswer = -1;
    std::vector<HWND> captureAtNotice;  // who held the mouse while the parent was told
};

TEST_F(ListBoxTest, OwnerDrawnListMeasuresOnceAndHasEachShownItemDrawn) {
    MakeList(kOwnerDrawn);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(measured[0].CtlID, UINT(kListId));
    EXPECT_EQ(measured[0].itemWidth, 200u);
    EXPECT_GT(measured[0].itemHeight, 0u);
    EXPECT_EQ(Send(LB_GETITEMHEIGHT), kItemHeight);

    // Three items fit: no scroll bar, full width.
    for (int i = 0; i < 3; ++i) Add(L"camera " + std::to_wstring(i), 5654 + i);
    PumpMessages();
    ASSERT_EQ(drawn.size(), 3u);
    for (UINT i = 0; i < 3; ++i) {
        EXPECT_EQ(drawn[i].item, i);
        EXPECT_EQ(drawn[i].action, ODA_DRAWENTIRE);
        EXPECT_EQ(drawn[i].state, 0u);
        EXPECT_EQ(Show(drawn[i].place), Show(RECT{0, int(i) * 20, 200, int(i) * 20 + 20}));
        EXPECT_EQ(drawn[i].data, 5654u + i);
    }
    drawn.clear();

    // Eight do not: only the five rows shown are drawn, beside the scroll bar.
    for (int i = 3; i < 8; ++i) Add(L"camera " + std::to_wstring(i));
    PumpMessages();
    EXPECT_EQ(DrawnItems(), (std::vector<UINT>{0, 1, 2, 3, 4}));
    Send(LB_SETTOPINDEX, 3);
    PumpMessages();
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].item, 3u);
    EXPECT_EQ(Show(drawn[0].place), Show(RECT{0, 0, 200 - GetSystemMetrics(SM_CXVSCROLL), 20}));
    EXPECT_EQ(measured.size(), 1u);
}

TEST_F(ListBoxTest, DrawnStateShowsTheSelectionAndTheFocus) {
    MakeList(kOwnerDrawn, 4);
    SetFocus(list);
    PumpMessages();
    ASSERT_EQ(drawn.size(), 1u);  // the caret item shows the focus
    EXPECT_EQ(drawn[0].item, 0u);
    EXPECT_EQ(drawn[0].state, ODS_FOCUS);
    drawn.clear();

    EXPECT_EQ(Send(LB_SETCURSEL, 2), 2);
    PumpMessages();
    // The item that lost the caret and the one selected are drawn again (and perhaps those between).
    std::map<UINT, UINT> states;
    for (auto& d : drawn) states[d.item] = d.state;
    EXPECT_EQ(states[0], 0u);
    EXPECT_EQ(states[2], ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(states.count(3), 0u);
    drawn.clear();

    SetFocus(parent->hwnd);
    PumpMessages();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].state, ODS_SELECTED);
    EXPECT_TRUE(Notifications().empty());  // the program's own selection is not announced
}

TEST_F(ListBoxTest, ItemsAreAddedInsertedDeletedAndCarryTheirData) {
    MakeList(kOwnerDrawn);
    EXPECT_EQ(Add(L"b"), 0);
    EXPECT_EQ(Add(L"d"), 1);
    EXPECT_EQ(Send(LB_INSERTSTRING, 0, LPARAM(L"a")), 0);
    EXPECT_EQ(Send(LB_INSERTSTRING, 2, LPARAM(L"c")), 2);
    EXPECT_EQ(Send(LB_INSERTSTRING, WPARAM(-1), LPARAM(L"e")), 4);
    EXPECT_EQ(Send(LB_INSERTSTRING, 6, LPARAM(L"past the end")), LB_ERR);
    ASSERT_EQ(Send(LB_GETCOUNT), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(TextOf(i), std::wstring(1, wchar_t(L'a' + i)));
    EXPECT_EQ(Send(LB_GETTEXTLEN, 5), LB_ERR);
    wchar_t buffer[8];
    EXPECT_EQ(Send(LB_GETTEXT, 5, LPARAM(buffer)), LB_ERR);

    EXPECT_EQ(Send(LB_SETITEMDATA, 3, 5475), TRUE);
    EXPECT_EQ(Send(LB_GETITEMDATA, 3), 5475);
    EXPECT_EQ(Send(LB_SETITEMDATA, 9, 1), LB_ERR);
    EXPECT_EQ(Send(LB_GETITEMDATA, 9), LB_ERR);

    // The selection stays with its item, and goes with it.
    Send(LB_SETCURSEL, 3);
    Send(LB_INSERTSTRING, 0, LPARAM(L"first"));
    EXPECT_EQ(Selected(), 4);
    EXPECT_EQ(Send(LB_GETITEMDATA, 4), 5475);
    EXPECT_EQ(Send(LB_DELETESTRING, 0), 5);
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(Send(LB_DELETESTRING, 3), 4);
    EXPECT_EQ(Selected(), LB_ERR);
    EXPECT_EQ(Send(LB_DELETESTRING, 4), LB_ERR);
    EXPECT_EQ(TextOf(3), L"e");

    EXPECT_EQ(Send(LB_SETCURSEL, 7), LB_ERR);
    Send(LB_SETCURSEL, 1);
    EXPECT_EQ(Send(LB_SETCURSEL, WPARAM(-1)), LB_ERR);  // clearing answers LB_ERR, as the platform does
    EXPECT_EQ(Selected(), LB_ERR);
    Send(LB_SETCURSEL, 1);
    Send(LB_RESETCONTENT);
    EXPECT_EQ(Send(LB_GETCOUNT), 0);
    EXPECT_EQ(Selected(), LB_ERR);
    EXPECT_EQ(Top(), 0);
}

TEST_F(ListBoxTest, FindsAWholeTextWithoutRegardToCase) {
    MakeList(kOwnerDrawn);
    for (const wchar_t* text : {L"Alpha", L"beta", L"Gamma", L"ALPHA", L"Ωmega Kamera"}) Add(text);
    struct Case {
        int after;
        const wchar_t* text;
        LRESULT found;
    } cases[] = {
        {-1, L"alpha", 0}, {0, L"alpha", 3},         {3, L"alpha", 0},  // after the start, wrapping round
        {-1, L"BETA", 1},  {2, L"beta", 1},          {-1, L"alph", LB_ERR},
        {-1, L"", LB_ERR}, {-1, L"ωMEGA kamera", 4},  // not only ASCII folds
        {9, L"gamma", 2},                             // a start past the end looks from the first
    };
    for (const Case& c : cases)
        EXPECT_EQ(Send(LB_FINDSTRINGEXACT, WPARAM(c.after), LPARAM(c.text)), c.found)
            << "after " << c.after << " text " << c.text;
    Send(LB_RESETCONTENT);
    EXPECT_EQ(Send(LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"alpha")), LB_ERR);
}

TEST_F(ListBoxTest, OwnerDrawnListWithoutStringsKeepsValues) {
    MakeList(LBS_OWNERDRAWFIXED);
    EXPECT_EQ(Send(LB_ADDSTRING, 0, 111), 0);
    EXPECT_EQ(Send(LB_ADDSTRING, 0, 222), 1);
    EXPECT_EQ(Send(LB_GETITEMDATA, 1), 222);
    EXPECT_EQ(Send(LB_FINDSTRINGEXACT, WPARAM(-1), 222), 1);
    LPARAM value = 0;
    EXPECT_EQ(Send(LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&value)), LRESULT(sizeof value));
    EXPECT_EQ(value, 111);
}

TEST_F(ListBoxTest, ClickingSelectsAndTellsTheParentOnlyOfChanges) {
    MakeList(kOwnerDrawn, 3);
    Click(AtItem(1));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE}));
    ClickLater(AtItem(1));
    EXPECT_TRUE(Notifications().empty());
    ClickLater(AtItem(4));  // below the last item
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(Notifications().empty());

    // Pressing and dragging follows the pointer; the parent hears once, on release.
    MoveMouse(AtItem(0));
    PressMouse();
    MoveMouse(AtItem(2));
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(Notifications().empty());
    ReleaseMouse();
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE}));
    EXPECT_EQ(GetCapture(), nullptr);

    // The parent may clear the selection on the notification, so the same item can be chosen again.
    Send(LB_SETCURSEL, WPARAM(-1));
    ClickLater(AtItem(2));
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE}));
}

TEST_F(ListBoxTest, DoubleClickOnAnItemIsAnnounced) {
    MakeList(kOwnerDrawn, 3);
    DoubleClick(AtItem(2));
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE, LBN_DBLCLK}));
    // The parent may open a modal window on either: the list holds no capture then.
    EXPECT_EQ(captureAtNotice, (std::vector<HWND>{nullptr, nullptr}));
    DoubleClick(AtItem(4));  // no item there
    EXPECT_TRUE(Notifications().empty());

    // A double click that changes the selection (the parent cleared it on the first click) tells both.
    captureAtNotice.clear();
    Click(AtItem(1));
    Send(LB_SETCURSEL, WPARAM(-1));
    Click(AtItem(1));
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBoxTest, WithoutNotifyTheParentHearsNothing) {
    MakeList(kOwnerDrawn & ~LBS_NOTIFY, 3);
    DoubleClick(AtItem(1));
    SetFocus(list);
    PressKey(VK_DOWN);
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollItIntoView) {
    struct Case {
        const char* what;
        int selected, top;
        UINT key;
        int expectSelected, expectTop;
        bool notified;
    } cases[] = {
        {"down with none selected takes the caret", -1, 0, VK_DOWN, 0, 0, true},
        {"down", 0, 0, VK_DOWN, 1, 0, true},
        {"up at the first stays", 0, 0, VK_UP, 0, 0, false},
        {"down past the page scrolls", 4, 0, VK_DOWN, 5, 1, true},
        {"up above the page scrolls", 7, 7, VK_UP, 6, 6, true},
        {"home", 9, 5, VK_HOME, 0, 0, true},
        {"end", 3, 0, VK_END, 19, 15, true},
        {"end at the last stays", 19, 15, VK_END, 19, 15, false},
        {"page down to the last shown", 1, 0, VK_NEXT, 4, 0, true},
        {"page down from the last shown", 4, 0, VK_NEXT, 8, 4, true},
        {"page down at the end", 18, 15, VK_NEXT, 19, 15, true},
        {"page up to the first shown", 8, 4, VK_PRIOR, 4, 4, true},
        {"page up from the first shown", 4, 4, VK_PRIOR, 0, 0, true},
        {"a selection out of view comes back", 2, 10, VK_UP, 1, 1, true},
        {"an unused key", 2, 0, 'A', 2, 0, false},
    };
    MakeList(kOwnerDrawn, 20);
    SetFocus(list);
    for (const Case& c : cases) {
        Send(LB_SETCURSEL, WPARAM(c.selected));
        Send(LB_SETTOPINDEX, WPARAM(c.top));
        log.clear();
        PressKey(c.key);
        EXPECT_EQ(Selected(), c.expectSelected == -1 ? LB_ERR : c.expectSelected) << c.what;
        EXPECT_EQ(Top(), c.expectTop) << c.what;
        EXPECT_EQ(Notifications().size(), c.notified ? 1u : 0u) << c.what;
    }
}

TEST_F(ListBoxTest, ParentMayTakeKeysFirst) {
    MakeList(kOwnerDrawn | LBS_WANTKEYBOARDINPUT, 5);
    Send(LB_SETCURSEL, 2);
    SetFocus(list);
    keyAnswer = -2;
    PressKey(VK_DOWN);
    EXPECT_EQ(Selected(), 2);
    auto asked = std::find_if(log.begin(), log.end(), [](auto& m) { return m.message == WM_VKEYTOITEM; });
    ASSERT_NE(asked, log.end());
    EXPECT_EQ(asked->wParam, MAKEWPARAM(VK_DOWN, 2));
    keyAnswer = -1;
    PressKey(VK_DOWN);
    EXPECT_EQ(Selected(), 3);
}

TEST_F(ListBoxTest, ScrollBarArrowsTrackAndThumbScroll) {
    MakeList(kOwnerDrawn, 20);  // five rows of twenty: the top runs from 0 to 15
    const int bar = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2, arrow = GetSystemMetrics(SM_CXVSCROLL);
    Click(At(bar, 5));
    EXPECT_EQ(Top(), 0);
    Click(At(bar, 95));
    EXPECT_EQ(Top(), 1);

    // Held, an arrow repeats after a pause; let go, it stops.
    MoveMouse(At(bar, 95));
    PressMouse();
    EXPECT_EQ(Top(), 2);
    AdvanceClock(clock, 399);
    EXPECT_EQ(Top(), 2);
    AdvanceClock(clock, 1);
    EXPECT_EQ(Top(), 3);
    AdvanceClock(clock, 100);
    EXPECT_EQ(Top(), 5);
    ReleaseMouse();
    AdvanceClock(clock, 1000);
    EXPECT_EQ(Top(), 5);

    Click(At(bar, 80));  // the track below the thumb: a page down
    EXPECT_EQ(Top(), 10);
    Click(At(bar, arrow + 1));  // above it: a page up
    EXPECT_EQ(Top(), 5);

    // The thumb, dragged to either end and back to the middle of the track.
    int trackLength = 100 - 2 * arrow, thumbLength = trackLength * 5 / 20;
    int thumbTop = arrow + (trackLength - thumbLength) * 5 / 15;
    MoveMouse(At(bar, thumbTop + 2));
    PressMouse();
    MoveMouse(At(bar, 100));
    EXPECT_EQ(Top(), 15);
    MoveMouse(At(bar, -50));
    EXPECT_EQ(Top(), 0);
    MoveMouse(At(bar, arrow + 2 + (trackLength - thumbLength) / 2));
    EXPECT_EQ(Top(), 8);  // 7.5 rounds to the nearer item
    ReleaseMouse();
    EXPECT_EQ(GetCapture(), nullptr);
    MoveMouse(At(bar, 100));
    EXPECT_EQ(Top(), 8);
    EXPECT_TRUE(Notifications().empty());  // scrolling selects nothing
    EXPECT_EQ(Selected(), LB_ERR);
}

TEST_F(ListBoxTest, WheelAndTopIndexScrollWithinTheItems) {
    MakeList(kOwnerDrawn, 20);
    MoveMouse(AtItem(2));
    TurnWheel(-WHEEL_DELTA);  // towards the user: down the list
    EXPECT_EQ(Top(), 3);
    TurnWheel(-WHEEL_DELTA / 2);
    EXPECT_EQ(Top(), 3);
    TurnWheel(-WHEEL_DELTA / 2);  // two half notches make one
    EXPECT_EQ(Top(), 6);
    TurnWheel(2 * WHEEL_DELTA);
    EXPECT_EQ(Top(), 0);
    TurnWheel(-10 * WHEEL_DELTA);
    EXPECT_EQ(Top(), 15);
    MoveMouse(OnScreen(parent->hwnd, POINT{250, 250}));
    TurnWheel(WHEEL_DELTA);  // the wheel turns what is under the pointer
    EXPECT_EQ(Top(), 15);

    EXPECT_EQ(Send(LB_SETTOPINDEX, 2), 0);
    EXPECT_EQ(Top(), 2);
    EXPECT_EQ(Send(LB_SETTOPINDEX, 18), 0);  // as near the top as the last page allows
    EXPECT_EQ(Top(), 15);
    EXPECT_EQ(Send(LB_SETTOPINDEX, 20), LB_ERR);
    EXPECT_EQ(Top(), 15);
    // Deleting items pulls the top back so the last page stays full.
    for (int i = 0; i < 10; ++i) Send(LB_DELETESTRING, 0);
    EXPECT_EQ(Top(), 5);
}

// The main and devices windows replace the list's procedure: keys swallowed, double clicks announced
// wherever they land, everything else passed on.
WNDPROC previousProc = nullptr;

LRESULT SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN) return 0;
    if (msg == WM_LBUTTONDBLCLK) {
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(uint16_t(GetDlgCtrlID(hwnd)), LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return CallWindowProcW(previousProc, hwnd, msg, wParam, lParam);
}

TEST_F(ListBoxTest, SubclassedListStillWorks) {
    MakeList(kOwnerDrawn, 3);
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&SubclassProc)));
    ASSERT_NE(previousProc, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(list, GWLP_WNDPROC), reinterpret_cast<intptr_t>(&SubclassProc));

    EXPECT_EQ(Add(L"added"), 3);
    Click(AtItem(1));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_SELCHANGE}));
    PressKey(VK_DOWN);
    EXPECT_EQ(Selected(), 1);
    DoubleClick(AtItem(4));  // the empty part too
    EXPECT_EQ(Notifications(), (std::vector<int>{LBN_DBLCLK}));
    drawn.clear();
    InvalidateRect(list, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(DrawnItems(), (std::vector<UINT>{0, 1, 2, 3}));
    DestroyWindow(list);
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(ListBoxTest, PlainListDrawsItsStringsAndScrollBar) {
    MakeList(WS_VSCROLL | LBS_NOTIFY);
    int height = int(Send(LB_GETITEMHEIGHT));
    ASSERT_GT(height, 0);
    EXPECT_TRUE(measured.empty());
    for (int i = 0; i < 20; ++i) Add(L"WWWW " + std::to_wstring(i));
    Send(LB_SETCURSEL, 1);
    PumpMessages();
    EXPECT_TRUE(drawn.empty());
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(ReadPixel(list, 150, height + height / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ReadPixel(list, 150, height * 2 + height / 2), white);
    bool textShown = false;
    for (int x = 0; x < 60 && !textShown; ++x)
        for (int y = 0; y < height && !textShown; ++y) textShown = ReadPixel(list, x, y) != white;
    EXPECT_TRUE(textShown);
    EXPECT_NE(ReadPixel(list, 195, 50), white);  // the scroll bar's track

    // Once everything fits the bar goes and the items take the whole width.
    Send(LB_RESETCONTENT);
    Add(L"one");
    Send(LB_SETCURSEL, 0);
    PumpMessages();
    EXPECT_EQ(ReadPixel(list, 195, height / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ReadPixel(list, 195, 50), white);
}

}  // namespace
}  // namespace kestrova::uitest
