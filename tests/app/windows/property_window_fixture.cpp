#include "tests/app/windows/property_window_fixture.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/windows/about_window.h"
#include "app/windows/alarm_window.h"
#include "app/windows/display_prop_window.h"
#include "app/windows/email_window.h"
#include "app/windows/power_window.h"
#include "app/windows/property_window.h"
#include "app/windows/settings_window.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/ui/input.h"
#include "platform/ui/windows.h"
#include "toolkit/choice.h"
#include "toolkit/message_box.h"
#include "toolkit/message_box_window.h"
#include "toolkit/toolkit.h"

namespace kestrova::uitest {
namespace {

bool RegisterEverything() {
    return InitToolkit() && RegisterMessageExWindowClass() && RegisterAlarmWindowClass() &&
           RegisterEmailWindowClass() && RegisterPowerWindowClass() && RegisterSettingsWindowClass() &&
           RegisterDisplayPropWindowClass() && RegisterAboutWindowClass();
}

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* OwnerClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = L"KestrovaPropertyOwner";
        RegisterClassW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

}  // namespace

void PropertyWindowTest::SetUp() {
    static const bool registered = RegisterEverything();
    ASSERT_TRUE(registered);
    SetClock(&clock);
    owner = CreateWindowExW(0, OwnerClass(), L"", WS_POPUP | WS_VISIBLE, 100, 60, 500, 673, nullptr, 0,
                            nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    PumpMessages();
}

void PropertyWindowTest::TearDown() {
    if (owner) DestroyWindow(owner);
    // Whatever a failed test left queued, a quit among it, is not the next test's.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    SetClock(nullptr);
}

int PropertyWindowTest::Drive(const wchar_t* className, const std::function<int()>& show,
                              const std::function<void(HWND window)>& act) {
    LoopSteps steps;
    steps_ = &steps;
    steps.Then([&] {
        HWND window = FindWindowW(className, nullptr);
        ASSERT_NE(window, nullptr) << "no window of the class shows";
        act(window);
    });
    const int result = show();
    steps_ = nullptr;
    return result;
}

void PropertyWindowTest::Later(std::function<void()> step) {
    ASSERT_NE(steps_, nullptr) << "only while a window is driven";
    steps_->Then(std::move(step));
}

void Press(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    RECT r;
    GetClientRect(control, &r);
    Click(OnScreen(control, POINT{r.right / 2, r.bottom / 2}));
}

bool Checked(HWND window, int id) {
    return SendDlgItemMessageW(window, id, kChoiceChecked, kPropertyRead, 0) != 0;
}

bool Enabled(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    return control && IsWindowEnabled(control);
}

std::wstring Text(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    return control ? WindowText(control) : std::wstring();
}

void Type(HWND window, int id, const std::wstring& text) {
    HWND control = GetDlgItem(window, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    SetWindowTextW(control, L"");
    Press(window, id);
    TypeText(text);
}

void QueueKey(UINT virtualKey) {
    ui::InjectKey(virtualKey, true);
    ui::InjectKey(virtualKey, false);
}

std::optional<std::wstring> PropertyWindowTest::MessageAfter(const std::function<void()>& action) {
    auto text = std::make_shared<std::optional<std::wstring>>();
    Later([text] {
        HWND box = FindWindowW(toolkit::kMessageExClassName, nullptr);
        if (!box) return;
        // The box breaks its lines where it wraps them; the text reads the same with spaces there.
        std::wstring said = WindowText(box);
        std::replace(said.begin(), said.end(), L'\n', L' ');
        *text = said;
        Press(box, kMessageOkId);
    });
    action();
    return *text;
}

ReportingOpener::ReportingOpener(const TempFolder& folder) : script_(folder.native() + "opener.sh") {
    std::ofstream(script_) << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n";
    chmod(script_.c_str(), 0755);
    SetShellOpener(script_);
}

ReportingOpener::~ReportingOpener() {
    SetShellOpener("");
}

std::wstring ReportingOpener::Opened() const {
    const std::wstring report = FromUtf8(script_ + ".out");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!FileExists(report) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::stringstream opened;
    opened << std::ifstream(script_ + ".out").rdbuf();
    return FromUtf8(opened.str());
}

}  // namespace kestrova::uitest
