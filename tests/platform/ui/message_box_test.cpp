#include <gtest/gtest.h>

#include "platform/ui/backend.h"
#include "platform/ui/backends/headless/headless_backend.h"
#include "tests/platform/ui/ui_fixture.h"

namespace kestrova::uitest {
namespace {

class MessageBoxTest : public UiTest {
protected:
    // The message box on the screen while its loop runs: the topmost shown window.
    static HWND OpenBox() {
        auto shown = TopLevelWindows();
        return shown.empty() ? nullptr : shown.front();
    }
};

TEST_F(MessageBoxTest, EnterOrEscapeEndsItWithOkAndGivesTheOwnerBack) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(key);
        TestWindow& owner = Make("owner", nullptr, WS_POPUP, {100, 100, 700, 500});
        std::vector<UINT> beeps;
        ui::BeepSink oldSink = ui::SetBeepSink([&](UINT type) { beeps.push_back(type); });
        LoopSteps steps;
        steps.Then([&] {
            HWND box = OpenBox();
            ASSERT_NE(box, owner.hwnd);
            wchar_t caption[32];
            GetWindowTextW(box, caption, 32);
            EXPECT_STREQ(caption, L"Kestrova");
            RECT r;
            GetWindowRect(box, &r);
            EXPECT_NEAR((r.left + r.right) / 2, 400, 1);  // centred on its owner, which it disables meanwhile
            EXPECT_NEAR((r.top + r.bottom) / 2, 300, 1);
            EXPECT_FALSE(IsWindowEnabled(owner.hwnd));
            // Raw keys, so that the box's own loop meets them.
            ui::InjectKey(key, true);
            ui::InjectKey(key, false);
        });
        EXPECT_EQ(MessageBoxW(owner.hwnd, L"ERROR: Failed to initialize toolkit", L"Kestrova", MB_ICONHAND),
                  IDOK);
        ui::SetBeepSink(oldSink);
        EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONHAND});
        EXPECT_TRUE(IsWindowEnabled(owner.hwnd));
        EXPECT_EQ(GetActiveWindow(), owner.hwnd);
        EXPECT_EQ(TopLevelWindows().front(), owner.hwnd);
        DestroyWindow(owner.hwnd);
    }
}

TEST_F(MessageBoxTest, ItsOkButtonEndsItAndItWrapsLongTextWithinTheScreen) {
    std::wstring longText(300, L'x');
    for (size_t i = 7; i < longText.size(); i += 8) longText[i] = L' ';
    LoopSteps steps;
    steps.Then([&] {
        HWND box = OpenBox();
        RECT r;
        GetWindowRect(box, &r);
        EXPECT_LT(r.right - r.left, 520);
        EXPECT_GT(r.bottom - r.top, 120);  // several lines
        EXPECT_EQ(GetParent(box), nullptr);
        HWND ok = GetDlgItem(box, IDOK);
        ASSERT_NE(ok, nullptr);
        RECT b;
        GetClientRect(ok, &b);
        // Raw input again: the click must end the box's own loop.
        ui::InjectMouseMove(OnScreen(ok, POINT{b.right / 2, b.bottom / 2}));
        ui::InjectMouseButton(MouseButton::Left, true);
        ui::InjectMouseButton(MouseButton::Left, false);
    });
    EXPECT_EQ(MessageBoxW(nullptr, longText.c_str(), L"", MB_OK), IDOK);
    EXPECT_TRUE(TopLevelWindows().empty());
}

TEST_F(MessageBoxTest, WithNoOneToAnswerItGoesToStandardErrorAndAnswersAtOnce) {
    ui::UseBackend(nullptr);  // a desktop without a display, as when none opened
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, L"No camera filter", L"Kestrova", MB_OK | MB_ICONHAND), IDOK);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Kestrova: No camera filter\n");
    EXPECT_TRUE(TopLevelWindows(false).empty());
    ui::UseBackend(std::make_unique<ui::HeadlessBackend>(/*driven=*/true));
}

}  // namespace
}  // namespace kestrova::uitest
