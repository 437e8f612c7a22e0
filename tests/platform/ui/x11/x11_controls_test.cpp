#include <gtest/gtest.h>

#include <fstream>

#include "platform/base/text.h"
#include "platform/ui/backends/x11/xlib.h"
#include "platform/ui/edit.h"
#include "platform/ui/listbox.h"
#include "tests/platform/ui/x11/x11_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr uint32_t kGrey = 0xC0C0C0;
constexpr char kRefused[] = "<refused>";

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    SendMessageW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

void SelectAll(HWND edit) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

// The system controls in a layer window on the display, with other programs (xdotool, xclip) on the other
// side of the keyboard and the clipboard.
class X11ControlsTest : public X11Test {
protected:
    // A focused edit in a window of the layer.
    HWND MakeEdit(uint32_t style, const wchar_t* text = L"") {
        HWND parent = Make({100, 100, 500, 300}, kGrey);
        HWND edit = CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, 10, 10,
                                    300, 60, parent, 1, nullptr, nullptr);
        EXPECT_NE(edit, nullptr);
        SetFocus(edit);
        x11->Sync();
        return edit;
    }

    void Keys(const std::string& keys) { ASSERT_EQ(server->Run({"xdotool", "key", keys}), 0); }

    // The clipboard's text as another program reads it in `target`; kRefused when it gets none.
    std::string ReadClipboard(const std::string& target = "UTF8_STRING") {
        std::string text;
        if (server->Read({"xclip", "-o", "-selection", "clipboard", "-t", target}, &text) != 0)
            return kRefused;
        return text;
    }

    // Another program copies `utf8` and stays the clipboard's owner in the background.
    void CopyElsewhere(const std::string& utf8) {
        std::string path = folder_.native() + "copied.txt";
        std::ofstream(path, std::ios::binary) << utf8;
        // Its output is let go, so that the owner left behind holds none of the test's own.
        ASSERT_EQ(server->Run({"sh", "-c", "xclip -selection clipboard -i \"$0\" >/dev/null 2>&1", path}), 0);
        // xclip takes the clipboard in a background process of its own, after its start returned.
        ASSERT_TRUE(PumpUntil([&] { return ReadClipboard() == utf8; }));
    }

private:
    TempFolder folder_;
};

TEST_F(X11ControlsTest, TypedTextLandsInTheFocusedEdit) {
    HWND edit = MakeEdit(0);
    // Keys of the keyboard's own map only: xdotool types other characters by remapping a spare key for an
    // instant, and a busy client may look that key up after the map is back. Other scripts arrive through
    // the clipboard tests below.
    ASSERT_EQ(server->Run({"xdotool", "type", "--delay", "20", "Hi world!"}), 0);
    EXPECT_TRUE(PumpUntil([&] { return TextOf(edit) == L"Hi world!"; })) << ToUtf8(TextOf(edit));
    Keys("BackSpace");
    Keys("Home");
    Keys("Delete");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(edit) == L"i world"; })) << ToUtf8(TextOf(edit));
}

TEST_F(X11ControlsTest, CopiedTextIsOfferedToOtherProgramsAsUtf8AndAsLatin1WherePossible) {
    HWND edit = MakeEdit(ES_MULTILINE);
    struct Case {
        const wchar_t* text;
        std::string keys;
        std::string utf8;
        std::string latin1;
        std::string targets;
        const wchar_t* left;
    } cases[] = {
        {L"Grüße\r\nzwei", "ctrl+c", "Grüße\nzwei",
         "Gr\xFC\xDF"
         "e\nzwei",
         "TARGETS\nUTF8_STRING\nSTRING\n", L"Grüße\r\nzwei"},
        {L"5 €", "ctrl+x", "5 €", kRefused, "TARGETS\nUTF8_STRING\n", L""},
    };
    for (const Case& c : cases) {
        SetWindowTextW(edit, c.text);
        SelectAll(edit);
        Keys(c.keys);
        EXPECT_TRUE(PumpUntil([&] { return ReadClipboard() == c.utf8; })) << c.utf8;
        EXPECT_EQ(ReadClipboard("STRING"), c.latin1) << c.utf8;
        EXPECT_EQ(ReadClipboard("TARGETS"), c.targets) << c.utf8;
        EXPECT_EQ(TextOf(edit), c.left) << c.utf8;
    }
}

TEST_F(X11ControlsTest, CtrlVPastesWhatTheClipboardsOwnerHolds) {
    HWND edit = MakeEdit(ES_MULTILINE, L"mine");
    SelectAll(edit);
    Keys("ctrl+c");
    ASSERT_TRUE(PumpUntil([&] { return ReadClipboard() == "mine"; }));

    // Another program's copy takes the clipboard from the program.
    CopyElsewhere("Grüße\nzwei €");
    SelectAll(edit);
    Keys("ctrl+v");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(edit) == L"Grüße\r\nzwei €"; })) << ToUtf8(TextOf(edit));

    // The program's own copy comes back through the display too.
    SelectAll(edit);
    Keys("ctrl+c");
    SendMessageW(edit, EM_SETSEL, 0, 0);
    Keys("ctrl+v");
    EXPECT_TRUE(PumpUntil([&] { return TextOf(edit) == L"Grüße\r\nzwei €Grüße\r\nzwei €"; }))
        << ToUtf8(TextOf(edit));
}

TEST_F(X11ControlsTest, ALargeTextFromAnotherProgramArrivesWhole) {
    // Larger than xclip sends in one piece: it comes in parts.
    std::string lines;
    std::wstring expected;
    for (int i = 0; lines.size() < (size_t(3) << 20); ++i) {
        std::string line = "line " + std::to_string(i) + " ß\n";
        lines += line;
        expected += FromUtf8(line.substr(0, line.size() - 1)) + L"\r\n";
    }
    CopyElsewhere(lines);
    std::wstring pasted = ui::GetClipboardText();
    EXPECT_EQ(pasted.size(), expected.size());
    EXPECT_TRUE(pasted == expected);
}

TEST_F(X11ControlsTest, APasteGetsNothingFromAnOwnerThatDoesNotAnswer) {
    HWND edit = MakeEdit(0, L"kept");
    // An owner that never reads its events.
    ::Display* silent = XOpenDisplay(server->Display().c_str());
    ASSERT_NE(silent, nullptr);
    ::Window owner = XCreateSimpleWindow(silent, DefaultRootWindow(silent), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(silent, XInternAtom(silent, "CLIPBOARD", False), owner, CurrentTime);
    XSync(silent, False);
    SelectAll(edit);
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), L"kept");

    XCloseDisplay(silent);  // no owner at all now
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), L"kept");

    CopyElsewhere("after");
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(edit), L"after");
}

TEST_F(X11ControlsTest, TheClipboardIsGivenUpWhenTheBackendStops) {
    HWND edit = MakeEdit(0, L"bye");
    auto fixtures = ui::UseBackend(ui::X11Backend::Open(server->Display().c_str()));
    SelectAll(edit);
    SendMessageW(edit, WM_COPY, 0, 0);
    EXPECT_EQ(ReadClipboard(), "bye");

    ui::UseBackend(std::move(fixtures)).reset();
    EXPECT_EQ(ReadClipboard(), kRefused);
    SendMessageW(edit, WM_COPY, 0, 0);
    EXPECT_EQ(ReadClipboard(), "bye");  // the backend installed again has the clipboard
}

TEST_F(X11ControlsTest, TheWheelScrollsTheListBoxUnderThePointer) {
    HWND parent = Make({100, 100, 400, 400}, kGrey);
    HWND list = CreateWindowExW(0, L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                10, 10, 200, 100, parent, 2, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < 30; ++i) {
        std::wstring item = L"item " + std::to_wstring(i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    x11->Sync();
    auto top = [&] { return SendMessageW(list, LB_GETTOPINDEX, 0, 0); };
    // Three rows a notch; the sideways wheel (6, 7) scrolls nothing.
    struct Case {
        std::vector<std::string> buttons;
        LRESULT top;
    } cases[] = {
        {{"5", "5"}, 6},
        {{"6", "7", "4"}, 3},
        {{"4", "4"}, 0},
    };
    ASSERT_EQ(server->Run({"xdotool", "mousemove", "150", "150"}), 0);
    for (const Case& c : cases) {
        for (const std::string& button : c.buttons) ASSERT_EQ(server->Run({"xdotool", "click", button}), 0);
        EXPECT_TRUE(PumpUntil([&] { return top() == c.top; })) << c.top << " but " << top();
    }
}

}  // namespace
}  // namespace kestrova::uitest
