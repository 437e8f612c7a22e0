#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/testing/message_pump.h"
#include "tests/platform/ui/test_window.h"

namespace kestrova::uitest {
namespace {

LRESULT PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcW(h, m, w, l);
}

TEST(WindowClass, RegistersOnceWithExtraBytes) {
    WNDCLASSW wc;
    wc.lpfnWndProc = PlainProc;
    wc.cbWndExtra = 2 * sizeof(void*);
    wc.lpszClassName = L"ExtraBytesClass";
    EXPECT_NE(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(&wc), 0);
    wc.lpszClassName = L"extrabytesCLASS";  // names ignore case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    WNDCLASSW incomplete;
    incomplete.lpszClassName = L"NoProcedure";
    EXPECT_EQ(RegisterClassW(&incomplete), 0);

    HWND h = CreateWindowExW(0, L"ExtraBytesClass", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(h, 0), 0);
    SetWindowLongPtrW(h, 0, intptr_t(0x1122334455667788));
    EXPECT_EQ(SetWindowLongPtrW(h, 8, -5), 0);
    EXPECT_EQ(GetWindowLongPtrW(h, 0), intptr_t(0x1122334455667788));
    EXPECT_EQ(GetWindowLongPtrW(h, 8), -5);
    EXPECT_EQ(SetWindowLongPtrW(h, 16, 1), 0);  // past the extra bytes
    EXPECT_EQ(GetWindowLongPtrW(h, 16), 0);
    SetWindowLongPtrW(h, GWLP_USERDATA, 99);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 99);
    EXPECT_FALSE(UnregisterClassW(L"ExtraBytesClass", nullptr));  // still in use
    EXPECT_TRUE(DestroyWindow(h));
    EXPECT_TRUE(UnregisterClassW(L"ExtraBytesClass", nullptr));
    EXPECT_EQ(CreateWindowExW(0, L"ExtraBytesClass", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr, nullptr),
              nullptr);
}

TEST(WindowCreation, TextAndCreationRecordReachTheWindow) {
    TestWindow w("w");
    const CREATESTRUCTW* seen = nullptr;
    void* param = nullptr;
    w.answer = [&](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (m == WM_CREATE) {
            seen = reinterpret_cast<const CREATESTRUCTW*>(l);
            param = seen->lpCreateParams;
        }
        return std::nullopt;
    };
    HWND h = CreateWindowExW(0, TestWindowClass(), L"Title", 0, 1, 2, 30, 40, HWND_MESSAGE, 0, nullptr, &w);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(param, &w);
    wchar_t text[4];
    EXPECT_EQ(SendMessageW(h, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_STREQ(text, L"Tit");
    SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Other"));
    EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 5);
    DestroyWindow(h);
}

struct AbortCase {
    UINT refusingMessage;
    LRESULT refusal;
    std::vector<UINT> expected;
};

class CreationAborted : public ::testing::TestWithParam<AbortCase> {};

TEST_P(CreationAborted, DestroysTheWindowAndReturnsNull) {
    std::vector<LoggedMessage> log;
    TestWindow w("w", &log);
    HWND during = nullptr;
    w.answer = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        during = h;
        if (m == GetParam().refusingMessage) return GetParam().refusal;
        return std::nullopt;
    };
    EXPECT_EQ(w.Create(HWND_MESSAGE), nullptr);
    std::vector<UINT> got;
    for (auto& m : log) got.push_back(m.message);
    EXPECT_EQ(got, GetParam().expected);
    EXPECT_FALSE(IsWindow(during));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CreationAborted,
    ::testing::Values(AbortCase{WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
                      AbortCase{WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}}));

TEST(WindowDestruction, OwnedPopupsThenTheWindowThenItsChildren) {
    std::vector<LoggedMessage> log;
    TestWindow top("top", &log), child("child", &log), grandchild("grandchild", &log), popup("popup", &log);
    ASSERT_NE(top.Create(), nullptr);
    ASSERT_NE(child.Create(top.hwnd, WS_CHILD, 7), nullptr);
    ASSERT_NE(grandchild.Create(child.hwnd, WS_CHILD), nullptr);
    ASSERT_NE(popup.Create(child.hwnd, WS_POPUP), nullptr);  // owned by the top-level window of `child`
    EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrW(popup.hwnd, GWLP_HWNDPARENT)), top.hwnd);
    EXPECT_EQ(GetWindowLongPtrW(child.hwnd, GWLP_ID), 7);
    // Destroying again from inside the destruction does nothing more.
    top.answer = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_DESTROY) {
            EXPECT_TRUE(DestroyWindow(h));
        }
        return std::nullopt;
    };
    log.clear();
    EXPECT_TRUE(DestroyWindow(top.hwnd));
    std::vector<std::string> got;
    for (auto& m : log) got.push_back(m.window + (m.message == WM_DESTROY ? " destroy" : " ncdestroy"));
    EXPECT_EQ(got, (std::vector<std::string>{"popup destroy", "popup ncdestroy", "top destroy",
                                             "child destroy", "grandchild destroy", "grandchild ncdestroy",
                                             "child ncdestroy", "top ncdestroy"}));
    for (HWND h : {top.hwnd, child.hwnd, grandchild.hwnd, popup.hwnd}) EXPECT_FALSE(IsWindow(h));
}

TEST(WindowDestruction, StaleHandleReachesNothing) {
    std::vector<LoggedMessage> log;
    TestWindow first("first", &log), second("second", &log);
    HWND old = first.Create(HWND_MESSAGE);
    ASSERT_NE(old, nullptr);
    EXPECT_NE(SetTimer(old, 1, 10, nullptr), 0u);
    PostMessageW(old, WM_USER, 0, 0);  // still queued when the window goes
    DestroyWindow(old);
    ASSERT_NE(second.Create(HWND_MESSAGE), nullptr);  // takes the freed slot
    EXPECT_NE(second.hwnd, old);
    log.clear();

    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(PostMessageW(old, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(old, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtrW(old, 0), 0);
    EXPECT_EQ(SetWindowLongPtrW(old, GWLP_USERDATA, 1), 0);
    EXPECT_EQ(SetTimer(old, 2, 10, nullptr), 0u);
    EXPECT_FALSE(KillTimer(old, 1));
    EXPECT_FALSE(DestroyWindow(old));
    MSG forged;
    forged.hwnd = old;
    forged.message = WM_USER;
    EXPECT_EQ(DispatchMessageW(&forged), 0);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(uintptr_t(0xDEADBEEF12345678))));
    EXPECT_EQ(PumpMessages().dispatched, 0);
    EXPECT_TRUE(log.empty());
    DestroyWindow(second.hwnd);
}

TEST(WindowDestruction, OnlyTheWindowsOwnThread) {
    TestWindow w("w");
    ASSERT_NE(w.Create(HWND_MESSAGE), nullptr);
    BOOL fromOther = TRUE;
    std::thread([&] { fromOther = DestroyWindow(w.hwnd); }).join();
    EXPECT_FALSE(fromOther);
    EXPECT_TRUE(IsWindow(w.hwnd));
    DestroyWindow(w.hwnd);
}

TEST(WindowDestruction, WindowsGoWithTheirThread) {
    HWND h = nullptr;
    TestWindow w("w");
    std::thread([&] { h = w.Create(HWND_MESSAGE); }).join();
    ASSERT_NE(h, nullptr);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 0);
}

}  // namespace
}  // namespace kestrova::uitest
