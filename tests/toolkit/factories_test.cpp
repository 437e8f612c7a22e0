#include "toolkit/factories.h"

#include <gtest/gtest.h>

#include "tests/toolkit/skin_colours.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/button.h"

namespace kestrova::uitest {
namespace {

using FactoriesTest = ToolkitTest;

LRESULT Read(HWND control, UINT property) {
    return SendMessageW(control, property, kPropertyRead, 0);
}

TEST_F(FactoriesTest, ADialogButtonHasTheButtonSkinAndItsInset) {
    HWND ok = CreateDialogButton(parent, L"OK", 1027, 20, 20, 91, 37, 2);
    PumpMessages();
    EXPECT_EQ(Read(ok, kButtonBackgroundBitmap), 5463);
    EXPECT_EQ(Read(ok, kButtonHitInset), 2);
    EXPECT_EQ(Read(ok, kButtonKind), kPushButton);
    EXPECT_EQ(ReadPixel(ok, 0, 0), kTopLeft);
}

TEST_F(FactoriesTest, ADropDownButtonShowsItsArrowAtTheRightAndItsTextFromTheLeft) {
    HWND address = CreateDropDownButton(parent, L"127.0.0.1", 1046, 20, 20, 164, 37, 2);
    PumpMessages();
    EXPECT_EQ(Read(address, kButtonTextX), 10);
    EXPECT_EQ(ReadPixel(address, 164 - 19, 17), DropDown(0));
    EXPECT_EQ(ReadPixel(address, 164 - 11, 21), DropDown(0));
    EXPECT_EQ(ReadPixel(address, 164 - 10, 17), kTopRight);
    int firstText = 164;
    for (int x = 0; x < 164 && firstText == 164; ++x)
        for (int y = 10; y < 28; ++y)
            if (ReadPixel(address, x, y) == RGB(81, 81, 81)) firstText = x;
    EXPECT_GE(firstText, 10);
    EXPECT_LE(firstText, 12);
}

TEST_F(FactoriesTest, ACycleButtonShowsBothArrowsAndStepsUpToItsMaximum) {
    HWND provider = CreateCycleButton(parent, L"Gmail", 1044, 20, 20, 103, 37, 3, 2);
    PumpMessages();
    EXPECT_EQ(Read(provider, kButtonRange), MAKELPARAM(0, 3));
    EXPECT_EQ(ReadPixel(provider, 10, 14), CycleLeft(0));
    EXPECT_EQ(ReadPixel(provider, 14, 22), CycleLeft(0));
    EXPECT_EQ(ReadPixel(provider, 103 - 15, 14), CycleRight(0));
    EXPECT_EQ(ReadPixel(provider, 103 - 11, 22), CycleRight(0));
    for (int expected : {1, 2, 3, 0}) {
        ClickAt(provider, POINT{50, 18});
        EXPECT_EQ(Read(provider, kButtonValue), expected);
    }
}

}  // namespace
}  // namespace kestrova::uitest
