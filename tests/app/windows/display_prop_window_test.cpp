#include "app/windows/display_prop_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/windows/property_window.h"
#include "tests/app/windows/property_window_fixture.h"

namespace kestrova::uitest {
namespace {

constexpr int kRadios[] = {1037, 1038, 1039, 1040, 1041};  // "1", "4", "9", "16", "25"

std::vector<bool> RadioStates(HWND window) {
    std::vector<bool> states;
    for (int id : kRadios) states.push_back(Checked(window, id));
    return states;
}

using DisplayPropWindowTest = PropertyWindowTest;

TEST_F(DisplayPropWindowTest, OpensOnTheStoredNumberAndWritesTheChosenOneOnOk) {
    const struct {
        int32_t stored;
        std::vector<bool> shown;
        int press;  // 0: none
        int32_t written;
    } cases[] = {
        {9, {false, false, true, false, false}, 0, 9},
        {25, {false, false, false, false, true}, 1038, 4},
        {7, {true, false, false, false, false}, 0, 1},  // not one of the five
        {-1, {true, false, false, false, false}, 1040, 16},
    };
    for (const auto& c : cases) {
        int32_t streams = c.stored;
        const int result = Drive(
            kDisplayPropWindowClass, [&] { return ShowDisplayPropWindow(owner, &streams); },
            [&](HWND window) {
                EXPECT_EQ(RadioStates(window), c.shown) << c.stored;
                if (c.press) Press(window, c.press);
                Press(window, kOkButtonId);
            });
        EXPECT_EQ(result, kPropertyOk);
        EXPECT_EQ(streams, c.written) << c.stored;
    }
}

TEST_F(DisplayPropWindowTest, DefaultChoosesOneStreamAndCancelKeepsTheStoredNumber) {
    int32_t streams = 16;
    const int result = Drive(
        kDisplayPropWindowClass, [&] { return ShowDisplayPropWindow(owner, &streams); },
        [](HWND window) {
            Press(window, kDefaultButtonId);
            EXPECT_EQ(RadioStates(window), (std::vector<bool>{true, false, false, false, false}));
            Press(window, kCancelButtonId);
        });
    EXPECT_EQ(result, kPropertyCancelled);
    EXPECT_EQ(streams, 16);
}

TEST_F(DisplayPropWindowTest, WithoutARecordOkAnswersZero) {
    EXPECT_EQ(Drive(
                  kDisplayPropWindowClass, [this] { return ShowDisplayPropWindow(owner, nullptr); },
                  [](HWND window) { Press(window, kOkButtonId); }),
              kPropertyCancelled);
}

}  // namespace
}  // namespace kestrova::uitest
