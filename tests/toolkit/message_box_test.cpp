#include "toolkit/message_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/input.h"
#include "platform/ui/painting.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/choice.h"
#include "toolkit/message_box_window.h"

namespace kestrova::uitest {
namespace {

// The test skins' colours (skins/manifest.txt), and the text's.
constexpr COLORREF kBand = RGB(60, 140, 60), kBottom = RGB(60, 60, 140), kSide = RGB(140, 60, 60);
constexpr COLORREF kIcons[] = {RGB(10, 100, 200), RGB(20, 160, 20), RGB(200, 150, 0), RGB(200, 20, 20),
                               RGB(120, 20, 160)};
constexpr COLORREF kText = RGB(70, 70, 72), kWhite = RGB(255, 255, 255);

HWND Box() {
    return FindWindowW(toolkit::kMessageExClassName, nullptr);
}

RECT PlaceOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

// The rows of the box's text, above its controls, that show text, gathered into runs: one run a line.
std::vector<std::pair<int, int>> TextLines(HWND box) {
    const RECT r = PlaceOf(box);
    int bottom = r.bottom;
    for (HWND control = GetWindow(box, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
        bottom = std::min(bottom, int(PlaceOf(control).top));
    std::vector<std::pair<int, int>> runs;
    for (int y = 50; y < bottom - r.top; ++y) {
        bool text = false;
        for (int x = 89; x < r.right - r.left - 31 && !text; ++x) text = ReadPixel(box, x, y) == kText;
        if (!text) continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    return runs;
}

class MessageBoxTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        static const BOOL registered = RegisterMessageExWindowClass();
        ASSERT_TRUE(registered);
        beeps.clear();
        previousSink = ui::SetBeepSink([this](UINT type) { beeps.push_back(type); });
    }
    void TearDown() override {
        ui::SetBeepSink(previousSink);
        ToolkitTest::TearDown();
    }
    // Shows a modal box over the parent and runs `answer` inside its loop; the box's result.
    int Answer(const wchar_t* text, int style, int icon, const std::function<void(HWND box)>& answer) {
        LoopSteps steps;
        steps.Then([&] {
            HWND box = Box();
            ASSERT_NE(box, nullptr);
            answer(box);
        });
        return ShowMessageEx(parent, text, style, icon, 1);
    }
    void Press(HWND box, int id) {
        HWND control = GetDlgItem(box, id);
        ASSERT_NE(control, nullptr) << id;
        ClickAt(control, POINT{8, 8});
    }

    std::vector<UINT> beeps;
    ui::BeepSink previousSink;
};

TEST_F(MessageBoxTest, EachButtonEndsTheLoopWithItsNumberPlus256WhenTheBoxIsTicked) {
    const struct {
        int style;
        std::vector<int> buttons;
        int pressed;
        bool tick;
        int expected;
    } cases[] = {
        {kMessageOkStyle, {kMessageOkId}, kMessageOkId, false, kMessageOk},
        {kMessageYesNoStyle, {kMessageYesId, kMessageNoId}, kMessageYesId, false, kMessageYes},
        {kMessageYesNoStyle, {kMessageYesId, kMessageNoId}, kMessageNoId, false, kMessageNo},
        {kMessageYesNoCancelStyle, {kMessageYesId, kMessageNoId, kMessageCancelId}, kMessageYesId, false, 3},
        {kMessageYesNoCancelStyle, {kMessageYesId, kMessageNoId, kMessageCancelId}, kMessageNoId, false, 4},
        {kMessageYesNoCancelStyle,
         {kMessageYesId, kMessageNoId, kMessageCancelId},
         kMessageCancelId,
         false,
         2},
        {kMessageOkStyle | kMessageDontShowAgain, {kMessageOkId}, kMessageOkId, true, 257},
        {kMessageOkStyle | kMessageDontShowAgain, {kMessageOkId}, kMessageOkId, false, 1},
        {kMessageYesNoStyle | kMessageDontShowAgain, {kMessageYesId, kMessageNoId}, kMessageNoId, true, 260},
        {kMessageYesNoCancelStyle | kMessageDontShowAgain,
         {kMessageYesId, kMessageNoId, kMessageCancelId},
         kMessageCancelId,
         true,
         258},
    };
    for (const auto& c : cases) {
        const int result = Answer(L"Delete the recording?", c.style, kMessageQuestion, [&](HWND box) {
            EXPECT_FALSE(IsWindowEnabled(parent)) << "the owner is disabled while the box shows";
            EXPECT_EQ(GetActiveWindow(), box);
            int made = 0;
            for (int id : {kMessageOkId, kMessageCancelId, kMessageYesId, kMessageNoId})
                made += GetDlgItem(box, id) != nullptr;
            EXPECT_EQ(made, int(c.buttons.size())) << c.style;
            EXPECT_EQ(GetDlgItem(box, kMessageDontShowAgainId) != nullptr,
                      (c.style & kMessageDontShowAgain) != 0);
            if (c.tick) Press(box, kMessageDontShowAgainId);
            Press(box, c.pressed);
        });
        EXPECT_EQ(result, c.expected) << "style " << c.style << ", button " << c.pressed;
        EXPECT_EQ(Box(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(parent));
    }
}

TEST_F(MessageBoxTest, ClosingTheBoxAnyOtherWayGivesOne) {
    EXPECT_EQ(Answer(L"Stop?", kMessageYesNoCancelStyle, kMessageQuestion,
                     [](HWND box) { SendMessageW(box, WM_CLOSE, 0, 0); }),
              kMessageOk);
    // Enter and Escape are not answers: the box waits for a button.
    EXPECT_EQ(Answer(L"Stop?", kMessageYesNoStyle, kMessageQuestion,
                     [this](HWND box) {
                         PressKey(VK_RETURN);
                         PressKey(VK_ESCAPE);
                         EXPECT_TRUE(IsWindow(box));
                         Press(box, kMessageNoId);
                     }),
              kMessageNo);
    EXPECT_EQ(Answer(L"Stop?", kMessageYesNoStyle, kMessageQuestion, [this](HWND) { DestroyWindow(parent); }),
              kMessageOk)
        << "gone with its owner";
    parent = nullptr;
}

TEST_F(MessageBoxTest, AQuitPostedWhileTheBoxIsOpenStillEndsTheOuterLoop) {
    EXPECT_EQ(Answer(L"Still there?", kMessageYesNoStyle, kMessageQuestion, [](HWND) { PostQuitMessage(7); }),
              kMessageOk);
    EXPECT_EQ(Box(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(parent));
    const PumpResult outer = PumpMessages();
    ASSERT_TRUE(outer.quit) << "the quit was swallowed";
    EXPECT_EQ(outer.exitCode, 7);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), 0);  // the outer loop takes it
}

TEST_F(MessageBoxTest, AModalBoxStandsCentredOnItsOwnerAndOnlyStyleZeroCanBeNonModal) {
    Answer(L"Saved.", kMessageOkStyle, kMessageInformation, [this](HWND box) {
        const RECT r = PlaceOf(box);
        EXPECT_EQ(GetParent(box), parent);
        EXPECT_EQ(r.left, 100 + (400 - (r.right - r.left)) / 2);
        EXPECT_EQ(r.top, 100 + (300 - (r.bottom - r.top)) / 2);
        Press(box, kMessageOkId);
    });

    EXPECT_EQ(ShowMessageEx(parent, L"Delete?", kMessageYesNoStyle, kMessageQuestion, 0), 0);
    EXPECT_EQ(ShowMessageEx(parent, L"Delete?", kMessageOkStyle | kMessageDontShowAgain, 1, 0), 0);
    EXPECT_EQ(Box(), nullptr);
    EXPECT_EQ(ShowMessageExCustom(parent, L"Delete?", nullptr), 0);

    ui::SetScreenSize(1280, 800);
    EXPECT_EQ(ShowMessageEx(parent, L"Recording started.", kMessageOkStyle, kMessageInformation, 0), 1);
    HWND box = Box();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(GetParent(box), nullptr);
    EXPECT_TRUE(IsWindowEnabled(parent));
    const RECT r = PlaceOf(box);
    EXPECT_EQ(r.left, 640 - (r.right - r.left) / 2);
    EXPECT_EQ(r.top, 400 - (r.bottom - r.top) / 2);
    Press(box, kMessageOkId);
    EXPECT_FALSE(IsWindow(box));
}

TEST_F(MessageBoxTest, TheBoxIsSizedToItsWrappedTextAndShowsEachLine) {
    const struct {
        std::wstring text;
        int style, maxWidth, minWidth, lines;  // 0 lines: more than one
    } cases[] = {
        {L"Saved.", kMessageOkStyle, 370, 135, 1},
        {L"The camera was disconnected. <nl> Connect it again and press Retry.", kMessageOkStyle, 370, 135,
         2},
        {L"The device could not be started because another program is using it. Close the other program "
         L"and try again.",
         kMessageOkStyle, 430, 371, 0},
        {L"Keep the old recordings?", kMessageYesNoCancelStyle, 370, 319, 1},
        {L"Saved.", kMessageOkStyle | kMessageDontShowAgain, 370, 319, 1},
    };
    for (const auto& c : cases) {
        Answer(c.text.c_str(), c.style, kMessageInformation, [&](HWND box) {
            const RECT r = PlaceOf(box);
            EXPECT_LE(r.right - r.left, c.maxWidth) << c.lines;
            EXPECT_GE(r.right - r.left, c.minWidth) << c.lines;
            EXPECT_GE(r.bottom - r.top, 180);
            const size_t lines = TextLines(box).size();
            if (c.lines)
                EXPECT_EQ(lines, size_t(c.lines)) << c.text;
            else
                EXPECT_GT(lines, 1u) << c.text;
            wchar_t shown[200];
            GetWindowTextW(box, shown, 200);
            EXPECT_EQ(std::wstring(shown).find(L"<nl>"), std::wstring::npos);
            SendMessageW(box, WM_CLOSE, 0, 0);
        });
    }
}

TEST_F(MessageBoxTest, AShortTextIsCentredOnTheIconUnlessTheCheckBoxStandsBelowIt) {
    const int lineHeight = Measured(L"Saved.").cy;
    for (int style : {kMessageOkStyle, kMessageOkStyle | kMessageDontShowAgain}) {
        Answer(L"Saved.", style, kMessageInformation, [&](HWND box) {
            const auto lines = TextLines(box);
            ASSERT_EQ(lines.size(), 1u);
            // The glyphs lie inside the line's cell, which starts at 55 or (48 - t) / 2 lower.
            const int cellTop = style == kMessageOkStyle ? 55 + (48 - lineHeight) / 2 : 55;
            EXPECT_GE(lines[0].first, cellTop) << style;
            EXPECT_LT(lines[0].second, cellTop + lineHeight) << style;
            Press(box, kMessageOkId);
        });
    }
}

TEST_F(MessageBoxTest, PaintsTheFrameAndTheChosenIcon) {
    for (int icon : {0, 3, 4}) {
        Answer(L"Saved.", kMessageOkStyle, icon, [&](HWND box) {
            const RECT r = PlaceOf(box);
            const int width = r.right - r.left, height = r.bottom - r.top;
            EXPECT_EQ(ReadPixel(box, 20, 10), kBand);
            EXPECT_EQ(ReadPixel(box, width - 20, 42), kBand);
            EXPECT_EQ(ReadPixel(box, 20, height - 2), kBottom);
            EXPECT_EQ(ReadPixel(box, 1, 60), kSide);
            EXPECT_EQ(ReadPixel(box, width - 2, 60), kSide);
            EXPECT_EQ(ReadPixel(box, 10, 60), kWhite);
            EXPECT_EQ(CountPixels(box, RECT{25, 55, 73, 103}, kIcons[icon]), 48 * 48) << icon;
            EXPECT_EQ(ReadPixel(box, 0, 0), CLR_INVALID) << "the corners are cut";
            Press(box, kMessageOkId);
        });
    }
}

TEST_F(MessageBoxTest, TheErrorIconSoundsTheErrorBeepAndEveryOtherTheDefault) {
    for (int icon : {0, 1, 2, 3, 4})
        Answer(L"Done.", kMessageOkStyle, icon, [this](HWND box) { Press(box, kMessageOkId); });
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_OK, MB_OK, MB_OK, MB_ICONHAND, MB_OK}));
}

TEST_F(MessageBoxTest, TheTopBandDragsTheBox) {
    Answer(L"Move me.", kMessageOkStyle, kMessageInformation, [this](HWND box) {
        const RECT before = PlaceOf(box);
        MoveTo(box, POINT{60, 40});  // below the band: the box stays
        PressMouse();
        MoveMouse(POINT{before.left + 160, before.top + 140});
        ReleaseMouse();
        EXPECT_EQ(PlaceOf(box).left, before.left);

        MoveTo(box, POINT{60, 20});
        PressMouse();
        MoveMouse(POINT{before.left + 90, before.top + 50});
        ReleaseMouse();
        const RECT after = PlaceOf(box);
        EXPECT_EQ(after.left, before.left + 30);
        EXPECT_EQ(after.top, before.top + 30);
        Press(box, kMessageOkId);
    });
}

TEST_F(MessageBoxTest, CustomCaptionsNameTheButtons) {
    MessageExParams params;
    params.style = kMessageYesNoStyle;
    params.icon = kMessageQuestion;
    std::wcscpy(params.yesCaption, L"Delete");
    LoopSteps steps;
    steps.Then([this] {
        HWND box = Box();
        wchar_t caption[16];
        GetWindowTextW(GetDlgItem(box, kMessageYesId), caption, 16);
        EXPECT_EQ(std::wstring(caption), L"Delete");
        GetWindowTextW(GetDlgItem(box, kMessageNoId), caption, 16);
        EXPECT_EQ(std::wstring(caption), L"No");
        Press(box, kMessageYesId);
    });
    EXPECT_EQ(ShowMessageExCustom(parent, L"Delete the device?", &params), kMessageYes);
}

}  // namespace
}  // namespace kestrova::uitest
