#pragma once
// A window class for tests: each window carries a TestWindow (given as the creation parameter) that logs the
// messages it gets and may answer them itself.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/messages.h"

namespace kestrova::uitest {

struct LoggedMessage {
    std::string window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class TestWindow {
public:
    explicit TestWindow(std::string name, std::vector<LoggedMessage>* log = nullptr)
        : name(std::move(name)), log(log) {}

    std::string name;
    std::vector<LoggedMessage>* log;
    // Answers a message instead of DefWindowProcW when it returns a value.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> answer;
    HWND hwnd = nullptr;

    // Creates the window of class TestWindowClass().
    HWND Create(HWND parent = nullptr, uint32_t style = 0, uintptr_t id = 0);
};

// Registers the class on first use and returns its name.
const wchar_t* TestWindowClass();

}  // namespace kestrova::uitest
