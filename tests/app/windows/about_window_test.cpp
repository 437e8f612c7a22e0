#include "app/windows/about_window.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/windows/property_window.h"
#include "platform/ui/gdi.h"
#include "tests/app/windows/property_window_fixture.h"
#include "toolkit/skin.h"

namespace kestrova::uitest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kWidth = 446;

// The columns of the window's rows `top` to `bottom` (exclusive) that show anything but white.
std::pair<int, int> InkColumns(HWND window, int top, int bottom) {
    int left = kWidth, right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = 4; x < kWidth - 4; ++x)
            if (ReadPixel(window, x, y) != kWhite) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

using AboutWindowTest = PropertyWindowTest;

TEST_F(AboutWindowTest, EveryWayOutAnswersZero) {
    const std::function<void(HWND)> ways[] = {
        [](HWND window) { Press(window, kOkButtonId); },
        [](HWND window) { Press(window, kCloseButtonId); },
        [](HWND window) { SendMessageW(window, WM_CLOSE, 0, 0); },
        [](HWND window) {
            SendMessageW(window, WM_COMMAND, kCancelButtonId, 0);  // no such button here: nothing happens
            EXPECT_TRUE(IsWindow(window));
            Press(window, kOkButtonId);
        },
    };
    for (const auto& way : ways) {
        EXPECT_EQ(Drive(
                      kAboutWindowClass, [this] { return ShowAboutWindow(owner); }, way),
                  kPropertyCancelled);
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(AboutWindowTest, TheEmblemAndBothLinesStandCentredOnTheWindow) {
    Drive(
        kAboutWindowClass, [this] { return ShowAboutWindow(owner); },
        [](HWND window) {
            HDC dc = GetDC(window);
            {
                const toolkit::Skin emblem(dc, 5378);
                ASSERT_EQ(emblem.Width(), 108);
                for (const POINT p : {POINT{0, 0}, POINT{54, 45}, POINT{107, 90}, POINT{20, 70}})
                    EXPECT_EQ(ReadPixel(window, 169 + p.x, 110 + p.y), emblem.Pixel(p.x, p.y))
                        << p.x << "," << p.y;
            }
            ReleaseDC(window, dc);
            EXPECT_EQ(169 + 108 / 2, kWidth / 2);
            for (const int top : {225, 245}) {
                const auto [left, right] = InkColumns(window, top, top + 20);
                ASSERT_LT(left, right) << "no text in the line at " << top;
                EXPECT_NEAR(left + right, kWidth - 1, 3) << top;
            }
            Press(window, kOkButtonId);
        });
}

}  // namespace
}  // namespace kestrova::uitest
