#include "toolkit/control_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/testing/message_pump.h"

namespace kestrova::toolkit {
namespace {

// What probe objects saw, in order: "made (text)", the messages they handled, "deleted".
std::vector<std::string> seen;

std::string TextOf(HWND hwnd) {
    wchar_t text[32];
    const int length = GetWindowTextW(hwnd, text, 32);
    return std::string(text, text + length);
}

struct Probe {
    Probe(HWND window, const CREATESTRUCTW& create) : window(window) {
        seen.push_back("made, text '" + TextOf(window) + "', name " + std::to_string(create.lpszName[0]));
    }
    ~Probe() { seen.push_back("deleted"); }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_CREATE) seen.push_back("create");
        if (msg == WM_SETTEXT) seen.push_back("settext");
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    HWND window;
};

template <ObjectCreatedOn createdOn, CreationName name>
HWND MakeProbe(const wchar_t* className) {
    WNDCLASSW wc;
    wc.lpfnWndProc = ControlWindowProc<Probe, createdOn, name>;
    wc.cbWndExtra = kObjectExtraBytes;
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, L"A", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
}

TEST(ControlWindowTest, TheObjectLivesFromItsCreationMessageToWmNcDestroyAndTakesTheName) {
    const struct {
        HWND (*make)(const wchar_t*);
        const wchar_t* className;
        std::vector<std::string> created;
        std::string text;
    } cases[] = {
        {MakeProbe<ObjectCreatedOn::Create, CreationName::SetAsWindowText>,
         L"ProbeOnCreate",
         {"made, text '', name 65", "settext"},
         "A"},
        {MakeProbe<ObjectCreatedOn::NcCreate, CreationName::SetAsWindowText>,
         L"ProbeOnNcCreate",
         {"made, text '', name 65", "settext", "create"},
         "A"},
        {MakeProbe<ObjectCreatedOn::Create, CreationName::KeptByObject>,
         L"ProbeKeepingItsText",
         {"made, text '', name 65"},
         ""},
    };
    for (const auto& c : cases) {
        seen.clear();
        HWND hwnd = c.make(c.className);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(seen, c.created);
        EXPECT_EQ(TextOf(hwnd), c.text);
        EXPECT_NE(ObjectPointer(hwnd), nullptr);
        seen.clear();
        DestroyWindow(hwnd);
        EXPECT_EQ(seen, std::vector<std::string>{"deleted"});
        uitest::PumpMessages();
    }
}

}  // namespace
}  // namespace kestrova::toolkit
