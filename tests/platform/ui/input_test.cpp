#include <gtest/gtest.h>

#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

// Logs mouse, focus and activation messages of every window it makes; destroys them at the end.
class InputTest : public UiTest {
protected:
    // The logged messages of the given kinds, as "window message" lines.
    std::vector<std::string> Seen(std::initializer_list<UINT> kinds) {
        static const std::pair<UINT, const char*> kNames[] = {
            {WM_LBUTTONDOWN, "down"},    {WM_LBUTTONUP, "up"},        {WM_MOUSEMOVE, "move"},
            {WM_LBUTTONDBLCLK, "dbl"},   {WM_CAPTURECHANGED, "lost"}, {WM_SETFOCUS, "setfocus"},
            {WM_KILLFOCUS, "killfocus"}, {WM_ACTIVATE, "activate"},   {WM_KEYDOWN, "key"},
            {WM_CHAR, "char"},           {WM_COMMAND, "command"},     {WM_ENABLE, "enable"}};
        std::vector<std::string> out;
        for (auto& m : log) {
            if (std::find(kinds.begin(), kinds.end(), m.message) == kinds.end()) continue;
            std::string line = m.window;
            for (auto& [id, name] : kNames)
                if (id == m.message) line += std::string(" ") + name;
            if (m.message == WM_ACTIVATE) line += LOWORD(m.wParam) == WA_INACTIVE ? " off" : " on";
            if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP || m.message == WM_MOUSEMOVE)
                line += " " + std::to_string(GET_X_LPARAM(m.lParam)) + "," +
                        std::to_string(GET_Y_LPARAM(m.lParam));
            if (m.message == WM_CHAR) line += " " + std::string(1, char(m.wParam));
            if (m.message == WM_COMMAND) line += " " + std::to_string(LOWORD(m.wParam));
            out.push_back(line);
        }
        log.clear();
        return out;
    }

    using Lines = std::vector<std::string>;
};

TEST_F(InputTest, ClicksGoToTheTopmostWindowUnderThePointer) {
    Make("below", nullptr, WS_POPUP, {100, 100, 300, 300});
    TestWindow& above = Make("above", nullptr, WS_POPUP, {200, 200, 400, 400});
    Make("child", above.hwnd, WS_CHILD, {10, 10, 60, 60});
    TestWindow& hidden = Make("hidden", above.hwnd, WS_CHILD, {100, 100, 150, 150});
    ShowWindow(hidden.hwnd, SW_HIDE);
    log.clear();
    Click({290, 210});  // over both: `above` is on top
    Click({215, 215});  // inside the child of `above`
    Click({310, 310});  // the hidden child does not take it
    Click({150, 150});  // only `below` is there: the click activates it and brings it to the top
    Click({250, 250});
    EXPECT_EQ(Seen({WM_LBUTTONDOWN}), (Lines{"above down 90,10", "child down 5,5", "above down 110,110",
                                             "below down 50,50", "below down 150,150"}));
    EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);
}

TEST_F(InputTest, TopmostWindowsStayAboveOthers) {
    TestWindow& topmost = Make("topmost", nullptr, WS_POPUP, {0, 0, 100, 100}, WS_EX_TOPMOST);
    TestWindow& normal = Make("normal", nullptr, WS_POPUP, {0, 0, 100, 100});
    EXPECT_EQ(WindowFromPoint({50, 50}), topmost.hwnd);
    SetActiveWindow(normal.hwnd);
    EXPECT_EQ(WindowFromPoint({50, 50}), topmost.hwnd);
    SetWindowPos(topmost.hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(normal.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint({50, 50}), normal.hwnd);
    SetWindowPos(topmost.hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint({50, 50}), topmost.hwnd);
    EXPECT_EQ(TopLevelWindows(), (std::vector<HWND>{topmost.hwnd, normal.hwnd}));
}

TEST_F(InputTest, DisabledWindowsAndTheirChildrenGetNoInput) {
    TestWindow& parent = Make("parent", nullptr, WS_POPUP, {0, 0, 200, 200});
    TestWindow& child = Make("child", parent.hwnd, WS_CHILD, {10, 10, 60, 60});
    TestWindow& grandchild = Make("grandchild", child.hwnd, WS_CHILD, {5, 5, 20, 20});
    SetFocus(grandchild.hwnd);
    log.clear();
    EXPECT_FALSE(EnableWindow(child.hwnd, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child.hwnd));
    EXPECT_EQ(GetFocus(), nullptr);  // disabling drops the focus held below
    Click({15, 15});                 // a disabled child: its parent takes the click
    Click({20, 20});                 // its enabled grandchild gets nothing either
    EnableWindow(child.hwnd, TRUE);
    EnableWindow(parent.hwnd, FALSE);
    Click({20, 20});  // a disabled parent blocks its children
    EXPECT_EQ(Seen({WM_LBUTTONDOWN, WM_ENABLE, WM_KILLFOCUS}),
              (Lines{"grandchild killfocus", "child enable", "parent down 15,15", "parent down 20,20",
                     "child enable", "parent enable"}));
    EnableWindow(parent.hwnd, TRUE);
    Click({20, 20});
    EXPECT_EQ(Seen({WM_LBUTTONDOWN}), (Lines{"grandchild down 5,5"}));
}

TEST_F(InputTest, CaptureKeepsTheMouseUntilReleased) {
    TestWindow& a = Make("a", nullptr, WS_POPUP, {0, 0, 100, 100});
    TestWindow& b = Make("b", nullptr, WS_POPUP, {200, 0, 300, 100});
    std::vector<std::string> order;
    a.answer = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_LBUTTONDOWN) SetCapture(h);
        if (m == WM_LBUTTONUP) {
            ReleaseCapture();
            order.push_back("released");
        }
        if (m == WM_CAPTURECHANGED) order.push_back("lost");
        return std::nullopt;
    };
    MoveMouse({50, 50});
    PressMouse();
    EXPECT_EQ(GetCapture(), a.hwnd);
    MoveMouse({250, 50});  // over b, still a's
    ReleaseMouse();
    EXPECT_EQ(Seen({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}),
              (Lines{"a move 50,50", "a down 50,50", "a move 250,50", "a up 250,50"}));
    EXPECT_EQ(order, (Lines{"lost", "released"}));  // WM_CAPTURECHANGED came before ReleaseCapture returned
    MoveMouse({251, 50});
    EXPECT_EQ(Seen({WM_MOUSEMOVE}), (Lines{"b move 51,50"}));
    // Taking the capture from another window tells the old one.
    SetCapture(a.hwnd);
    SetCapture(b.hwnd);
    EXPECT_EQ(Seen({WM_CAPTURECHANGED}), (Lines{"a lost"}));
    ReleaseCapture();
}

TEST_F(InputTest, SecondClickSoonAfterIsADoubleClickForClassesThatAskForIt) {
    WNDCLASSW wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONDBLCLK)
            SetWindowLongPtrW(h, GWLP_USERDATA, GetWindowLongPtrW(h, GWLP_USERDATA) + 1);
        return DefWindowProcW(h, m, w, l);
    };
    wc.lpszClassName = L"DoubleClickClass";
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(0, L"DoubleClickClass", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0,
                             nullptr, nullptr);
    TestWindow& plain = Make("plain", nullptr, WS_POPUP, {200, 0, 300, 100});
    DoubleClick({10, 10});
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 1);
    Click({10, 10});
    clock.Advance(GetDoubleClickTime() + 1);
    Click({10, 10});  // too late
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 1);
    log.clear();
    DoubleClick({210, 10});
    EXPECT_EQ(Seen({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), (Lines{"plain down 10,10", "plain down 10,10"}));
    DestroyWindow(h);
    (void)plain;
}

TEST_F(InputTest, ClickOutsideAPopupMovesActivationAndFocus) {
    TestWindow& main = Make("main", nullptr, WS_POPUP, {0, 0, 300, 300});
    TestWindow& popup = Make("popup", main.hwnd, WS_POPUP, {50, 50, 150, 150});
    EXPECT_EQ(GetActiveWindow(), popup.hwnd);
    EXPECT_EQ(GetFocus(), popup.hwnd);
    EXPECT_EQ(GetParent(popup.hwnd), main.hwnd);  // a popup's parent is its owner
    log.clear();
    Click({250, 250});
    EXPECT_EQ(Seen({WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_LBUTTONDOWN}),
              (Lines{"popup activate off", "main activate on", "popup killfocus", "main setfocus",
                     "main down 250,250"}));
    // The owner stays below its popup even when it is active.
    EXPECT_EQ(WindowFromPoint({100, 100}), popup.hwnd);
}

TEST_F(InputTest, HidingOrDestroyingTheActiveWindowActivatesItsOwner) {
    TestWindow& main = Make("main", nullptr, WS_POPUP, {0, 0, 300, 300});
    TestWindow& other = Make("other", nullptr, WS_POPUP, {400, 0, 500, 100});
    TestWindow& dialog = Make("dialog", main.hwnd, WS_POPUP, {50, 50, 150, 150});
    EXPECT_EQ(GetActiveWindow(), dialog.hwnd);
    ShowWindow(dialog.hwnd, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main.hwnd);
    ShowWindow(dialog.hwnd, SW_SHOW);
    EnableWindow(main.hwnd, FALSE);  // a modal window disables its owner...
    EnableWindow(main.hwnd, TRUE);   // ...and enables it again before it goes
    DestroyWindow(dialog.hwnd);
    EXPECT_EQ(GetActiveWindow(), main.hwnd);
    EXPECT_EQ(GetFocus(), main.hwnd);
    ShowWindow(main.hwnd, SW_SHOWNA);
    ShowWindow(other.hwnd, SW_SHOWNOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), main.hwnd);
}

TEST_F(InputTest, CaptionDragMovesTheWindow) {
    TestWindow& w = Make("w", nullptr, WS_POPUP, {100, 100, 300, 200});
    w.answer = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        if (m != WM_NCHITTEST) return std::nullopt;
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ScreenToClient(h, &p);
        LRESULT hit = DefWindowProcW(h, m, wp, lp);
        return hit == HTCLIENT && p.y < 29 ? HTCAPTION : hit;
    };
    MoveMouse({110, 110});
    PressMouse();
    MoveMouse({160, 130});
    MoveMouse({170, 140});
    ReleaseMouse();
    MoveMouse({180, 150});
    RECT r;
    GetWindowRect(w.hwnd, &r);
    EXPECT_EQ(r.left, 160);
    EXPECT_EQ(r.top, 130);
    EXPECT_EQ(r.right, 360);
    log.clear();
    Click({170, 200});  // below the band: a normal click
    EXPECT_EQ(Seen({WM_LBUTTONDOWN}), (Lines{"w down 10,70"}));
}

TEST_F(InputTest, KeysGoToTheFocusAndBecomeCharacters) {
    TestWindow& main = Make("main", nullptr, WS_POPUP, {0, 0, 300, 300});
    TestWindow& edit = Make("edit", main.hwnd, WS_CHILD, {10, 10, 100, 30});
    SetFocus(edit.hwnd);
    log.clear();
    TypeText(L"aB1-");
    PressKey(VK_LEFT);
    EXPECT_EQ(Seen({WM_CHAR}), (Lines{"edit char a", "edit char B", "edit char 1", "edit char -"}));
    KeyDown(VK_CONTROL);
    PressKey('C');
    KeyUp(VK_CONTROL);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(Seen({WM_CHAR}), (Lines{"edit char \x03"}));
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
}

TEST_F(InputTest, DialogKeysBecomeCommandsOneAndTwo) {
    TestWindow& dialog = Make("dialog", nullptr, WS_POPUP, {0, 0, 300, 300});
    TestWindow& field = Make("field", dialog.hwnd, WS_CHILD | WS_TABSTOP, {10, 10, 100, 30});
    TestWindow& other = Make("other", dialog.hwnd, WS_CHILD | WS_TABSTOP, {10, 40, 100, 60});
    Make("last", dialog.hwnd, WS_CHILD | WS_TABSTOP, {10, 70, 100, 90});  // Tab follows the order of making
    SetFocus(field.hwnd);
    auto runDialogKeys = [&](UINT vk) {
        ui::InjectKey(vk, true);
        ui::InjectKey(vk, false);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog.hwnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
    };
    log.clear();
    runDialogKeys(VK_RETURN);
    runDialogKeys(VK_ESCAPE);
    runDialogKeys(VK_TAB);
    EXPECT_EQ(GetFocus(), other.hwnd);
    runDialogKeys('X');
    EXPECT_EQ(Seen({WM_COMMAND, WM_CHAR}), (Lines{"dialog command 1", "dialog command 2", "other char x"}));
}

int RunLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return int(msg.wParam);
}

TEST_F(InputTest, NestedLoopsEndOnTheirOwnQuitAndTheOuterKeepsItsOwn) {
    TestWindow& main = Make("main", nullptr, WS_POPUP, {0, 0, 300, 300});
    std::vector<std::string> events;
    main.answer = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_USER) events.push_back("main handled");
        return std::nullopt;
    };
    LoopSteps steps;
    steps.Then([&] {  // waiting in the outer loop: open an inner one
        PostMessageW(main.hwnd, WM_USER, 0, 0);
        events.push_back("inner ended " + std::to_string(RunLoop()));
    });
    steps.Then([&] { PostQuitMessage(2); });  // waiting in the inner loop
    steps.Then([&] { PostQuitMessage(1); });  // waiting in the outer loop again
    EXPECT_EQ(RunLoop(), 1);
    EXPECT_EQ(events, (Lines{"main handled", "inner ended 2"}));
}

}  // namespace
}  // namespace kestrova::uitest
