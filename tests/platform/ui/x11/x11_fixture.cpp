#include "tests/platform/ui/x11/x11_fixture.h"

#include <chrono>

#include "platform/base/clock.h"
#include "platform/ui/testing/message_pump.h"

namespace kestrova::uitest {
namespace {

struct Logged {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Logged> g_input;

LRESULT ColourProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            uint32_t rgb = uint32_t(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            HBRUSH brush = CreateSolidBrush(RGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)));
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_CHAR:
            g_input.push_back({hwnd, msg, wParam, lParam});
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

const wchar_t* ColourClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ColourProc;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"X11TestColour";
        return RegisterClassW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return L"X11TestColour";
}

}  // namespace

XvfbServer* X11Test::server = nullptr;

void X11Test::SetUpTestSuite() {
    server = new XvfbServer;
    if (!server->Start()) {
        delete server;
        server = nullptr;
    }
}

void X11Test::TearDownTestSuite() {
    delete server;
    server = nullptr;
}

void X11Test::SetUp() {
    SetClock(nullptr);  // the X server keeps real time
    g_input.clear();
    ASSERT_NE(server, nullptr) << "Xvfb did not start";
    auto backend = ui::X11Backend::Open(server->Display().c_str());
    ASSERT_NE(backend, nullptr) << "no connection to " << server->Display();
    x11 = backend.get();
    ui::UseBackend(std::move(backend));
}

void X11Test::TearDown() {
    if (!x11) return;
    x11->Sync();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
    PumpMessages();
    ui::UseBackend(nullptr);
}

HWND X11Test::Make(RECT r, uint32_t colour, uint32_t exStyle, HWND owner) {
    HWND hwnd = CreateWindowExW(exStyle, ColourClass(), L"", WS_POPUP, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, owner, 0, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    windows_.push_back(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, intptr_t(colour));
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return hwnd;
}

void X11Test::Repaint(HWND hwnd, uint32_t colour) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, intptr_t(colour));
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

bool X11Test::PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    // A thread timer wakes the loop now and then, so that it sees the time run out.
    UINT_PTR tick = SetTimer(nullptr, 0, 20, nullptr);
    MSG msg;
    while (!done() && std::chrono::steady_clock::now() < end && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    KillTimer(nullptr, tick);
    return done();
}

std::vector<std::string> X11Test::Input(HWND hwnd) const {
    std::vector<std::string> lines;
    for (const Logged& m : g_input) {
        if (m.hwnd != hwnd) continue;
        std::string point =
            std::to_string(GET_X_LPARAM(m.lParam)) + "," + std::to_string(GET_Y_LPARAM(m.lParam));
        switch (m.message) {
            case WM_LBUTTONDOWN:
                lines.push_back("down " + point);
                break;
            case WM_LBUTTONUP:
                lines.push_back("up " + point);
                break;
            case WM_KEYDOWN:
                lines.push_back("key " + std::to_string(m.wParam));
                break;
            case WM_CHAR:
                lines.push_back("char " + std::string(1, char(m.wParam)));
                break;
        }
    }
    return lines;
}

void X11Test::ForgetInput() {
    g_input.clear();
}

void X11Test::Shoot() {
    // The second pass also carries out what the X server reported back during the first (a restack by
    // another program).
    x11->Sync();
    x11->Sync();
    ASSERT_TRUE(screen.Take(*server, folder_.native()));
}

}  // namespace kestrova::uitest
