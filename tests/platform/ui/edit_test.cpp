#include "platform/ui/edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/ui/clipboard.h"
#include "platform/ui/edit_layout.h"
#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr int kEditId = 7;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void WithKey(UINT modifier, const std::function<void()>& keys) {
    KeyDown(modifier);
    keys();
    KeyUp(modifier);
}

void Control(UINT key) {
    WithKey(VK_CONTROL, [key] { PressKey(key); });
}

// Edits on a 400 x 200 popup, in the 13-pixel "Tahoma" of the toolkit's framed edit; the parent's log
// keeps what the edits report.
class EditTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        font = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FF_SWISS, L"Tahoma");
        parent = &Make("parent", nullptr, WS_POPUP, {100, 100, 500, 300});
        oldBeeps = ui::SetBeepSink([this](UINT) { ++beeps; });
        ui::SetClipboardText(L"");
    }
    void TearDown() override {
        UiTest::TearDown();
        ui::SetBeepSink(std::move(oldBeeps));
        DeleteObject(font);
    }

    // A focused edit with `text`, the caret at its start, and nothing logged yet.
    HWND MakeEdit(uint32_t style, const wchar_t* text = L"", RECT r = {10, 10, 210, 26}, int id = kEditId) {
        HWND edit =
            CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, parent->hwnd, uintptr_t(id), nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        SetWindowTextW(edit, text);
        SetFocus(edit);
        PumpMessages();
        log.clear();
        return edit;
    }

    static std::wstring Text(HWND edit) {
        wchar_t buffer[512];
        GetWindowTextW(edit, buffer, 512);
        return buffer;
    }

    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static void Select(HWND edit, intptr_t start, intptr_t end) {
        SendMessageW(edit, EM_SETSEL, WPARAM(start), end);
        PumpMessages();
    }

    // The notifications the parent got from the edit with `id`, in order; clears the log.
    std::vector<uint16_t> Notes(int id = kEditId) {
        std::vector<uint16_t> notes;
        for (const LoggedMessage& m : log)
            if (m.window == "parent" && m.message == WM_COMMAND && LOWORD(m.wParam) == id)
                notes.push_back(HIWORD(m.wParam));
        log.clear();
        return notes;
    }

    // The columns where the caret could be: every pixel of the text line's height in the text colour.
    static std::vector<int> CaretColumns(HWND edit, COLORREF color = kBlack) {
        RECT r;
        GetClientRect(edit, &r);
        std::vector<int> columns;
        for (int x = 0; x < r.right; ++x) {
            bool full = true;
            for (int y = 0; y < 13 && full; ++y) full = ReadPixel(edit, x, y) == color;
            if (full) columns.push_back(x);
        }
        return columns;
    }

    // The pixels of an edit's client area, row by row.
    static std::vector<COLORREF> Pixels(HWND edit) {
        RECT r;
        GetClientRect(edit, &r);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) pixels.push_back(ReadPixel(edit, x, y));
        return pixels;
    }

    // The leftmost and rightmost columns holding a pixel of `color`; {-1, -1} when none does.
    static std::pair<int, int> InkedColumns(HWND edit, COLORREF color = kBlack) {
        RECT r;
        GetClientRect(edit, &r);
        std::pair<int, int> span{-1, -1};
        for (int x = 0; x < r.right; ++x)
            for (int y = 0; y < r.bottom; ++y)
                if (ReadPixel(edit, x, y) == color) {
                    if (span.first < 0) span.first = x;
                    span.second = x;
                    break;
                }
        return span;
    }

    HFONT font = nullptr;
    TestWindow* parent = nullptr;
    int beeps = 0;
    ui::BeepSink oldBeeps;
};

struct KeyCase {
    const char* name;
    const wchar_t* start;
    std::function<void(HWND)> keys;
    const wchar_t* text;
    DWORD selectionStart, selectionEnd;
};

TEST_F(EditTest, KeysEditTextAndMoveTheCaretAndSelection) {
    const KeyCase cases[] = {
        {"typing", L"", [](HWND) { TypeText(L"Ab c!"); }, L"Ab c!", 5, 5},
        {"typing at the start", L"xyz", [](HWND) { TypeText(L"ab"); }, L"abxyz", 2, 2},
        {"backspace at the end", L"abc",
         [](HWND) {
             PressKey(VK_END);
             PressKey(VK_BACK);
         },
         L"ab", 2, 2},
        {"backspace at the start", L"abc", [](HWND) { PressKey(VK_BACK); }, L"abc", 0, 0},
        {"delete at the start", L"abc", [](HWND) { PressKey(VK_DELETE); }, L"bc", 0, 0},
        {"delete at the end", L"abc",
         [](HWND) {
             PressKey(VK_END);
             PressKey(VK_DELETE);
         },
         L"abc", 3, 3},
        {"arrows", L"abc",
         [](HWND) {
             PressKey(VK_RIGHT);
             PressKey(VK_RIGHT);
             PressKey(VK_LEFT);
             TypeText(L"X");
         },
         L"aXbc", 2, 2},
        {"left stops at the start", L"ab",
         [](HWND) {
             PressKey(VK_LEFT);
             TypeText(L"X");
         },
         L"Xab", 1, 1},
        {"right stops at the end", L"ab",
         [](HWND) {
             for (int i = 0; i < 4; ++i) PressKey(VK_RIGHT);
         },
         L"ab", 2, 2},
        {"end then home", L"abc",
         [](HWND) {
             PressKey(VK_END);
             PressKey(VK_HOME);
             TypeText(L"X");
         },
         L"Xabc", 1, 1},
        {"shift with arrows selects", L"abcdef",
         [](HWND) {
             PressKey(VK_RIGHT);
             WithKey(VK_SHIFT, [] {
                 PressKey(VK_RIGHT);
                 PressKey(VK_RIGHT);
             });
         },
         L"abcdef", 1, 3},
        {"typing replaces the selection", L"abcdef",
         [](HWND) {
             PressKey(VK_RIGHT);
             WithKey(VK_SHIFT,
                     [] {
                         PressKey(VK_RIGHT);
                         PressKey(VK_RIGHT);
                     }),
                 TypeText(L"X");
         },
         L"aXdef", 2, 2},
        {"shift end, then backspace", L"abcdef",
         [](HWND) {
             PressKey(VK_RIGHT);
             WithKey(VK_SHIFT, [] { PressKey(VK_END); });
             PressKey(VK_BACK);
         },
         L"a", 1, 1},
        {"shift home from the end", L"abc",
         [](HWND) {
             PressKey(VK_END);
             WithKey(VK_SHIFT, [] { PressKey(VK_HOME); });
         },
         L"abc", 0, 3},
        {"left collapses a selection to its start", L"abcdef",
         [](HWND e) {
             Select(e, 2, 5);
             PressKey(VK_LEFT);
         },
         L"abcdef", 2, 2},
        {"right collapses a selection to its end", L"abcdef",
         [](HWND e) {
             Select(e, 2, 5);
             PressKey(VK_RIGHT);
         },
         L"abcdef", 5, 5},
        {"delete removes the selection", L"abcdef",
         [](HWND e) {
             Select(e, 1, -1);
             PressKey(VK_DELETE);
         },
         L"a", 1, 1},
        {"a reversed selection", L"abcdef",
         [](HWND e) {
             Select(e, 4, 1);
             TypeText(L"X");
         },
         L"aXef", 2, 2},
        {"a negative start drops the selection", L"abcdef",
         [](HWND e) {
             Select(e, 1, 3);
             Select(e, -1, 0);
         },
         L"abcdef", 3, 3},
        {"ctrl+a selects everything", L"abc",
         [](HWND) {
             Control('A');
             TypeText(L"z");
         },
         L"z", 1, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(ES_AUTOHSCROLL, c.start);
        c.keys(edit);
        EXPECT_EQ(Text(edit), c.text);
        EXPECT_EQ(Selection(edit), std::make_pair(c.selectionStart, c.selectionEnd));
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, GetSelPacksBothEndsIntoItsResult) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"hello world");
    Select(edit, 6, -1);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELPARAM(6, 11));
}

TEST_F(EditTest, ALineBreakIsOneCaretStep) {
    HWND edit = MakeEdit(ES_MULTILINE, L"ab\r\ncd");
    Select(edit, 4, 4);
    PressKey(VK_BACK);
    EXPECT_EQ(Text(edit), L"abcd");
    PressKey(VK_RETURN);
    EXPECT_EQ(Text(edit), L"ab\r\ncd");
    PressKey(VK_LEFT);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(2), DWORD(2)));
}

// The framed edit's one-row inner edit with line breaks allowed, as for a camera's address.
TEST_F(EditTest, AOneRowManyLineEditScrollsDownToTheCaret) {
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, L"", {10, 10, 110, 24});
    TypeText(L"ab");
    PressKey(VK_RETURN);
    EXPECT_EQ(CaretColumns(edit), std::vector<int>{1});  // the second line shows, caret at its start
    PressKey(VK_UP);
    ASSERT_EQ(Selection(edit), std::make_pair(DWORD(0), DWORD(0)));
    EXPECT_EQ(CaretColumns(edit), std::vector<int>{1});
}

TEST_F(EditTest, TheLimitStopsTypingAndPastingButNotTheProgram) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), LRESULT(ui::kDefaultEditLimit));
    SendMessageW(edit, EM_LIMITTEXT, 5, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 5);

    TypeText(L"abcdefg");
    EXPECT_EQ(Text(edit), L"abcde");
    std::vector<uint16_t> notes = Notes();
    EXPECT_EQ(std::count(notes.begin(), notes.end(), EN_CHANGE), 5);
    EXPECT_EQ(std::count(notes.begin(), notes.end(), EN_MAXTEXT), 2);

    // A paste takes what fits in place of the selection.
    Select(edit, 1, 2);
    ui::SetClipboardText(L"1234");
    Control('V');
    EXPECT_EQ(Text(edit), L"a1cde");

    // A stored text longer than the limit shows whole; the user can shorten it but not lengthen it.
    SetWindowTextW(edit, L"1234567");
    EXPECT_EQ(Text(edit), L"1234567");
    PressKey(VK_END);
    TypeText(L"8");
    EXPECT_EQ(Text(edit), L"1234567");
    PressKey(VK_BACK);
    EXPECT_EQ(Text(edit), L"123456");

    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), LRESULT(ui::kLargestEditLimit));
}

struct RuleCase {
    const char* name;
    uint32_t style;
    const wchar_t* typed;
    const wchar_t* pasted;
    const wchar_t* text;
    int beeps;
};

TEST_F(EditTest, StylesFilterWhatTheUserPutsIn) {
    const RuleCase cases[] = {
        {"digits only: letters are refused", ES_NUMBER, L"a1b2", L"", L"12", 2},
        {"digits only: a paste with a letter is refused whole", ES_NUMBER, L"1", L"2x3", L"1", 1},
        {"digits only: a paste of digits", ES_NUMBER, L"", L"8080", L"8080", 0},
        {"lower case: typed", ES_LOWERCASE, L"HeLLo W", L"", L"hello w", 0},
        {"lower case: pasted", ES_LOWERCASE, L"", L"RTSP://Cam", L"rtsp://cam", 0},
        {"one line: a paste stops at its first line break", 0, L"", L"first\r\nsecond", L"first", 0},
        {"many lines: breaks become CR LF", ES_MULTILINE, L"", L"a\nb", L"a\r\nb", 0},
        {"read-only", ES_READONLY, L"ab", L"cd", L"", 3},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = MakeEdit(ES_AUTOHSCROLL | c.style);
        beeps = 0;
        TypeText(c.typed);
        if (*c.pasted) {
            ui::SetClipboardText(c.pasted);
            SendMessageW(edit, WM_PASTE, 0, 0);
        }
        EXPECT_EQ(Text(edit), c.text);
        EXPECT_EQ(beeps, c.beeps);
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, TheProgramsTextIsNotFiltered) {
    HWND edit = MakeEdit(ES_NUMBER | ES_LOWERCASE, L"Port ABC");
    EXPECT_EQ(Text(edit), L"Port ABC");
}

TEST_F(EditTest, APasswordShowsItsCharacterInsteadOfTheText) {
    HWND secret = MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, L"secret", {10, 10, 110, 26}, 1);
    HWND stars = MakeEdit(ES_AUTOHSCROLL, L"******", {10, 40, 110, 56}, 2);
    HWND plain = MakeEdit(ES_AUTOHSCROLL, L"secret", {10, 70, 110, 86}, 3);
    HWND hashes = MakeEdit(ES_AUTOHSCROLL, L"######", {10, 100, 110, 116}, 4);
    SetFocus(parent->hwnd);  // no caret in any of them
    PumpMessages();

    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_EQ(Pixels(secret), Pixels(stars));
    EXPECT_NE(Pixels(secret), Pixels(plain));
    EXPECT_EQ(Text(secret), L"secret");

    SendMessageW(secret, EM_SETPASSWORDCHAR, L'#', 0);
    PumpMessages();
    EXPECT_EQ(Pixels(secret), Pixels(hashes));

    SendMessageW(secret, EM_SETPASSWORDCHAR, 0, 0);
    PumpMessages();
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(Pixels(secret), Pixels(plain));
}

TEST_F(EditTest, APasswordIsNeitherCopiedNorCut) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, L"secret");
    ui::SetClipboardText(L"before");
    Control('A');
    Control('C');
    Control('X');
    EXPECT_EQ(ui::GetClipboardText(), L"before");
    EXPECT_EQ(Text(edit), L"secret");
}

TEST_F(EditTest, ChangesAreReportedAndMovesAreNot) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"ab");
    SetWindowTextW(edit, L"xy");
    SetWindowTextW(edit, L"xy");  // the same text: still reported, the parent may keep a view of it
    EXPECT_EQ(Notes(), (std::vector<uint16_t>{EN_CHANGE, EN_CHANGE}));

    TypeText(L"a");
    PressKey(VK_BACK);
    EXPECT_EQ(Notes(), (std::vector<uint16_t>{EN_CHANGE, EN_CHANGE}));

    PressKey(VK_BACK);  // at the start
    PressKey(VK_END);
    PressKey(VK_DELETE);  // at the end
    PressKey(VK_LEFT);
    WithKey(VK_SHIFT, [] { PressKey(VK_HOME); });
    Control('C');
    EXPECT_EQ(Notes(), std::vector<uint16_t>{});

    // Each report names the edit and its id.
    TypeText(L"z");
    auto it = std::find_if(log.begin(), log.end(), [](auto& m) { return m.message == WM_COMMAND; });
    ASSERT_NE(it, log.end());
    EXPECT_EQ(it->wParam, MAKEWPARAM(kEditId, EN_CHANGE));
    EXPECT_EQ(it->lParam, reinterpret_cast<LPARAM>(edit));
}

TEST_F(EditTest, FocusComingAndGoingIsReported) {
    HWND first = MakeEdit(ES_AUTOHSCROLL, L"", {10, 10, 110, 26}, 1);
    HWND second = MakeEdit(ES_AUTOHSCROLL, L"", {10, 40, 110, 56}, 2);
    log.clear();
    Click(OnScreen(first, {5, 5}));
    EXPECT_EQ(GetFocus(), first);
    EXPECT_EQ(Notes(2), std::vector<uint16_t>{EN_KILLFOCUS});
    SetFocus(second);
    EXPECT_EQ(Notes(1), std::vector<uint16_t>{EN_KILLFOCUS});
    SetFocus(first);
    EXPECT_EQ(Notes(1), std::vector<uint16_t>{EN_SETFOCUS});
}

TEST_F(EditTest, NothingIsTypedWhileAnAncestorIsDisabled) {
    TestWindow& panel = Make("panel", parent->hwnd, WS_CHILD, {0, 0, 300, 100});
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 100, 16,
                                panel.hwnd, 1, nullptr, nullptr);
    SetFocus(edit);
    EnableWindow(panel.hwnd, FALSE);
    TypeText(L"a");
    SendMessageW(edit, WM_CHAR, L'b', 0);  // not even a character sent to it directly
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 0);
    Click(OnScreen(edit, {5, 5}));
    EXPECT_EQ(Text(edit), L"");
    EXPECT_NE(GetFocus(), edit);

    EnableWindow(panel.hwnd, TRUE);
    Click(OnScreen(edit, {5, 5}));
    TypeText(L"a");
    EXPECT_EQ(Text(edit), L"a");
}

TEST_F(EditTest, CopyCutAndPasteGoThroughTheClipboard) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"hello world");
    Select(edit, 6, -1);
    Control('C');
    EXPECT_EQ(ui::GetClipboardText(), L"world");
    Control('X');
    EXPECT_EQ(Text(edit), L"hello ");
    PressKey(VK_HOME);
    Control('V');
    EXPECT_EQ(Text(edit), L"worldhello ");

    // A display with a clipboard of its own takes over both ways.
    std::wstring display = L"from elsewhere";
    ui::ClipboardHook old =
        ui::SetClipboardHook({[&](std::wstring_view text) { display = text; }, [&] { return display; }});
    Control('V');
    EXPECT_EQ(Text(edit), L"worldfrom elsewherehello ");
    Select(edit, 0, 5);
    Control('C');
    EXPECT_EQ(display, L"world");
    ui::SetClipboardHook(std::move(old));
    EXPECT_EQ(ui::GetClipboardText(), L"world");  // the in-process store kept the cut

    // With nothing on the clipboard a paste keeps the selection.
    ui::SetClipboardText(L"");
    Select(edit, 0, -1);
    Control('V');
    EXPECT_EQ(Text(edit), L"worldfrom elsewherehello ");
}

TEST_F(EditTest, ALongLineScrollsToKeepTheCaretInView) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"", {10, 10, 70, 26});
    TypeText(L"the quick brown fox jumps");
    ASSERT_EQ(Text(edit), L"the quick brown fox jumps");
    std::vector<int> caret = CaretColumns(edit);
    ASSERT_EQ(caret.size(), 1u);
    EXPECT_GE(caret[0], 50);  // at the right, after the last letter
    EXPECT_LT(caret[0], 60);

    PressKey(VK_HOME);
    EXPECT_EQ(CaretColumns(edit), std::vector<int>{1});
    PressKey(VK_END);
    EXPECT_EQ(CaretColumns(edit), caret);

    // Without sideways scrolling a one-line edit takes only what it can show.
    HWND fixed = MakeEdit(0, L"", {10, 40, 70, 56}, 2);
    TypeText(L"the quick brown fox jumps");
    std::wstring kept = Text(fixed);
    EXPECT_LT(kept.size(), 20u);
    EXPECT_EQ(kept, std::wstring(L"the quick brown fox jumps").substr(0, kept.size()));
    std::vector<uint16_t> notes = Notes(2);
    EXPECT_NE(std::find(notes.begin(), notes.end(), EN_MAXTEXT), notes.end());
}

TEST_F(EditTest, TheCaretBlinksOnTheClockAndLightsUpWhenTyping) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(CaretColumns(edit).size(), 1u);
    AdvanceClock(clock, 600);
    EXPECT_TRUE(CaretColumns(edit).empty());
    AdvanceClock(clock, 530);
    EXPECT_EQ(CaretColumns(edit).size(), 1u);
    AdvanceClock(clock, 530);
    TypeText(L"a");
    EXPECT_EQ(CaretColumns(edit).size(), 1u);
    SetFocus(nullptr);
    PumpMessages();
    EXPECT_TRUE(CaretColumns(edit).empty());
}

TEST_F(EditTest, TheParentChoosesTheColours) {
    const COLORREF face = RGB(243, 243, 243), ink = RGB(70, 70, 72);
    HBRUSH brush = CreateSolidBrush(face);
    std::vector<UINT> asked;
    parent->answer = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) return std::nullopt;
        asked.push_back(msg);
        SetTextColor(reinterpret_cast<HDC>(wParam), ink);
        SetBkColor(reinterpret_cast<HDC>(wParam), face);
        return reinterpret_cast<LRESULT>(brush);
    };
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"Hello");
    EXPECT_EQ(ReadPixel(edit, 150, 8), face);
    EXPECT_NE(InkedColumns(edit, ink).first, -1);
    EXPECT_EQ(InkedColumns(edit, kBlack).first, -1);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), WM_CTLCOLOREDIT);

    EnableWindow(edit, FALSE);  // a disabled edit asks for the colours of a static text
    PumpMessages();
    EXPECT_EQ(asked.back(), WM_CTLCOLORSTATIC);

    parent->answer = nullptr;
    EnableWindow(edit, TRUE);
    InvalidateRect(edit, nullptr, TRUE);
    PumpMessages();
    EXPECT_EQ(ReadPixel(edit, 150, 8), kWhite);
    EXPECT_NE(InkedColumns(edit, kBlack).first, -1);
    DestroyWindow(edit);
    DeleteObject(brush);
}

TEST_F(EditTest, CentredTextHasEqualMarginsAndFontsAreKept) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_NUMBER | ES_CENTER, L"8080", {10, 10, 62, 26});
    EXPECT_EQ(SendMessageW(edit, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    SetFocus(parent->hwnd);
    PumpMessages();
    auto [left, right] = InkedColumns(edit);
    ASSERT_NE(left, -1);
    EXPECT_LE(std::abs(left - (52 - 1 - right)), 2);
}

TEST_F(EditTest, ManyLinesWrapAtSpacesAndArrowsMoveBetweenThem) {
    HWND edit = MakeEdit(ES_MULTILINE, L"alpha beta gamma delta", {10, 10, 60, 70});
    SetFocus(parent->hwnd);
    PumpMessages();
    // Ink in at least three line bands of 13 pixels.
    int bands = 0;
    for (int band = 0; band < 4; ++band) {
        bool inked = false;
        for (int y = band * 13; y < band * 13 + 13 && !inked; ++y)
            for (int x = 0; x < 50 && !inked; ++x) inked = ReadPixel(edit, x, y) == kBlack;
        bands += inked;
    }
    EXPECT_GE(bands, 3);

    SetFocus(edit);
    Select(edit, 0, 0);
    PressKey(VK_DOWN);
    DWORD second = Selection(edit).first;
    EXPECT_GT(second, 0u);
    EXPECT_EQ(Text(edit)[second - 1], L' ');  // the second line starts after a space
    PressKey(VK_END);
    PressKey(VK_UP);
    PressKey(VK_HOME);
    EXPECT_EQ(Selection(edit).first, 0u);
}

TEST_F(EditTest, DraggingTheMouseSelects) {
    HWND edit = MakeEdit(ES_AUTOHSCROLL, L"drag me");
    MoveMouse(OnScreen(edit, {0, 5}));
    PressMouse();
    MoveMouse(OnScreen(edit, {150, 5}));
    ReleaseMouse();
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(0), DWORD(7)));
    EXPECT_EQ(GetCapture(), nullptr);

    PressKey(VK_HOME);
    WithKey(VK_SHIFT, [&] { Click(OnScreen(edit, {150, 5})); });
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD(0), DWORD(7)));
}

struct WrapCase {
    const wchar_t* text;
    int width;
    std::vector<std::pair<size_t, size_t>> lines;  // start and end of each
};

TEST(EditLayout, LinesBreakAtLineBreaksAndWrapAfterSpaces) {
    // Every character 10 pixels wide.
    const WrapCase cases[] = {
        {L"", 35, {{0, 0}}},
        {L"aaa bbb", 35, {{0, 4}, {4, 7}}},
        {L"aaa bbb", 0, {{0, 7}}},                    // no wrapping
        {L"abcdefgh", 35, {{0, 3}, {3, 6}, {6, 8}}},  // a word too long for a line is cut
        {L"ab    cd", 30, {{0, 6}, {6, 8}}},          // spaces run past the width
        {L"a b c d", 35, {{0, 4}, {4, 7}}},
        {L"ab\r\ncd\nef\r\n", 0, {{0, 2}, {4, 6}, {7, 9}, {11, 11}}},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        auto lines = ui::LayOutEdit(c.text, true, c.width, [](wchar_t) { return 10; });
        std::vector<std::pair<size_t, size_t>> spans;
        for (const ui::EditLine& line : lines) {
            spans.emplace_back(line.start, line.end);
            EXPECT_EQ(line.Width(), int(line.end - line.start) * 10);
        }
        EXPECT_EQ(spans, c.lines);
    }
    auto one = ui::LayOutEdit(L"a\r\nb", false, 0, [](wchar_t) { return 10; });
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(ui::PositionOnLine(one[0], 14), 1u);
    EXPECT_EQ(ui::PositionOnLine(one[0], 16), 2u);
}

}  // namespace
}  // namespace kestrova::uitest
