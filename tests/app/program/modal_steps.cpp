#include "tests/app/program/modal_steps.h"

#include <gtest/gtest.h>

#include "app/own_windows.h"
#include "platform/ui/windows.h"
#include "toolkit/message_box.h"
#include "toolkit/message_box_window.h"

namespace kestrova::uitest {

HWND Topmost(const wchar_t* className) {
    for (HWND window : OwnWindowsOfClass(className))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

void Press(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << id;
    RECT r;
    GetClientRect(control, &r);
    Click(OnScreen(control, POINT{r.right / 2, r.bottom / 2}));
}

std::wstring Flat(std::wstring_view text) {
    std::wstring flat;
    for (wchar_t c : text) {
        if (c == L'\n' || c == L'\r') c = L' ';
        if (c == L' ' && !flat.empty() && flat.back() == L' ') continue;
        flat.push_back(c);
    }
    return flat;
}

ModalSteps& ModalSteps::Answer(int button, bool dontShowAgain) {
    steps_.Then([this, button, dontShowAgain] {
        HWND box = Topmost(toolkit::kMessageExClassName);
        ASSERT_NE(box, nullptr) << "no message box";
        wchar_t text[1024] = {};
        GetWindowTextW(box, text, 1024);
        said_.push_back(Flat(text));
        if (dontShowAgain) Press(box, kMessageDontShowAgainId);
        Press(box, button);
    });
    return *this;
}

ModalSteps& ModalSteps::In(const wchar_t* className, std::function<void(HWND)> act) {
    steps_.Then([className, act = std::move(act)] {
        HWND window = Topmost(className);
        ASSERT_NE(window, nullptr) << "no window of its class is open";
        act(window);
    });
    return *this;
}

ModalSteps& ModalSteps::Close(const wchar_t* className, int id) {
    return In(className, [id](HWND window) { Press(window, id); });
}

}  // namespace kestrova::uitest
