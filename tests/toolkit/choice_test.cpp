#include "toolkit/choice.h"

#include <gtest/gtest.h>

#include "tests/toolkit/skin_colours.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"

namespace kestrova::uitest {
namespace {

using Notices = std::vector<std::string>;
constexpr COLORREF kText = RGB(70, 70, 72), kDisabledText = RGB(169, 169, 169);

class ChoiceTest : public ToolkitTest {
protected:
    LRESULT Checked(HWND choice) { return SendMessageW(choice, kChoiceChecked, kPropertyRead, 0); }
    LRESULT Kind(HWND choice) { return SendMessageW(choice, kChoiceKind, kPropertyRead, 0); }
};

TEST_F(ChoiceTest, ARadioButtonStaysCheckedAndACheckBoxFlipsAndBothReportEveryClick) {
    HWND radio = CreateRadioButton(parent, L"Daily", 11, 10, 10);
    HWND box = CreateCheckBox(parent, L"Stay on top", 12, 10, 40);
    EXPECT_EQ(Kind(radio), kRadioButton);
    EXPECT_EQ(Kind(box), kCheckBox);
    for (int click = 0; click < 2; ++click) {
        ClickAt(radio, POINT{5, 7});
        EXPECT_EQ(Checked(radio), 1);
        EXPECT_EQ(HeardFrom(radio), Notices{"command"});
    }
    EXPECT_EQ(GetFocus(), radio);
    for (int expected : {1, 0}) {
        ClickAt(box, POINT{5, 7});
        EXPECT_EQ(Checked(box), expected);
        EXPECT_EQ(HeardFrom(box), Notices{"command"});
    }
}

TEST_F(ChoiceTest, ACheckBoxWhoseIdIsTakenBecomesACheckBoxItselfAndLeavesTheOtherControlAlone) {
    HWND radio = CreateRadioButton(parent, L"Weekly", 20, 10, 10);
    HWND box = CreateCheckBox(parent, L"Email", 20, 10, 40);
    EXPECT_EQ(Kind(box), kCheckBox);
    EXPECT_EQ(Kind(radio), kRadioButton);
}

TEST_F(ChoiceTest, ItFitsItselfToItsTextAtLeast14PixelsHigh) {
    HWND radio = CreateRadioButton(parent, L"Yes", 11, 10, 10);
    const SIZE text = Measured(L"Yes");
    ASSERT_LT(text.cy, 14);
    EXPECT_EQ(ClientSize(radio).cx, text.cx + 20);
    EXPECT_EQ(ClientSize(radio).cy, 14);
    SetWindowTextW(radio, L"Save photos\nand videos");
    const SIZE twoLines = Measured(L"Save photos\nand videos");
    EXPECT_EQ(ClientSize(radio).cx, twoLines.cx + 20);
    EXPECT_EQ(ClientSize(radio).cy, twoLines.cy);
}

TEST_F(ChoiceTest, TheGlyphShowsTheKindCheckAndHoverOrDisabledRow) {
    HWND radio = CreateRadioButton(parent, L"Radio", 11, 10, 10);
    HWND box = CreateCheckBox(parent, L"Box", 12, 10, 40);
    PumpMessages();
    const struct {
        bool checked, hovered, disabled;
        int row;
    } cases[] = {
        {false, false, false, 0}, {true, false, false, 1}, {false, true, false, 2},
        {true, true, false, 3},   {false, false, true, 4}, {true, true, true, 5},
    };
    for (HWND choice : {radio, box}) {
        const int column = choice == box ? 1 : 0;
        for (const auto& c : cases) {
            SendMessageW(choice, kChoiceChecked, kPropertySetAndRepaint, c.checked);
            EnableWindow(choice, !c.disabled);
            MoveTo(c.hovered ? choice : parent, c.hovered ? POINT{5, 7} : POINT{390, 290});
            AdvanceClock(clock, 10);
            EXPECT_EQ(ReadPixel(choice, 6, 7), Glyph(column, c.row))
                << "column " << column << " row " << c.row;
            EnableWindow(choice, TRUE);
        }
    }
}

TEST_F(ChoiceTest, ATallControlCentresItsGlyphAndKeepsItsTextAtTheTop) {
    HWND box = CreateCheckBox(parent, L"Record video\nRecord audio", 12, 10, 10);
    PumpMessages();
    const int height = ClientSize(box).cy;
    ASSERT_GT(height, 14);
    const int glyphTop = (height - 14) / 2;
    EXPECT_EQ(ReadPixel(box, 6, glyphTop - 1), RGB(255, 255, 255));
    EXPECT_EQ(ReadPixel(box, 6, glyphTop), Glyph(1, 0));
    EXPECT_EQ(ReadPixel(box, 6, glyphTop + 13), Glyph(1, 0));
    EXPECT_EQ(ReadPixel(box, 6, glyphTop + 14), RGB(255, 255, 255));
    const int lineHeight = Measured(L"Record video").cy;
    EXPECT_GT(CountPixels(box, RECT{20, 0, ClientSize(box).cx, lineHeight}, kText), 20);
    EXPECT_GT(CountPixels(box, RECT{20, lineHeight, ClientSize(box).cx, height}, kText), 20);
}

TEST_F(ChoiceTest, ADisabledControlIsGreyAndSendsNothing) {
    HWND box = CreateCheckBox(parent, L"Tolerance", 12, 10, 10);
    EnableWindow(box, FALSE);
    const RECT all{0, 0, ClientSize(box).cx, ClientSize(box).cy};
    EXPECT_GT(CountPixels(box, all, kDisabledText), 20);
    EXPECT_EQ(CountPixels(box, all, kText), 0);
    ClickAt(box, POINT{5, 7});
    EXPECT_TRUE(HeardFrom(box).empty());
    EXPECT_EQ(Checked(box), 0);
}

TEST_F(ChoiceTest, CheckRadioGroupChecksTheFirstIdAndUnchecksTheRestUpToTheZero) {
    HWND radios[3];
    for (int i = 0; i < 3; ++i) radios[i] = CreateRadioButton(parent, L"Streams", 31 + i, 10, 10 + 20 * i);
    CheckRadioGroup(parent, 32, 31, 33, 0);
    EXPECT_EQ(Checked(radios[0]), 0);
    EXPECT_EQ(Checked(radios[1]), 1);
    EXPECT_EQ(Checked(radios[2]), 0);
    CheckRadioGroup(parent, 33, 0);  // only the checked id: the others stay as they are
    EXPECT_EQ(Checked(radios[1]), 1);
    EXPECT_EQ(Checked(radios[2]), 1);
    CheckRadioGroup(parent, 31, 0, 32, 33);
    EXPECT_EQ(Checked(radios[0]), 1);
    EXPECT_EQ(Checked(radios[1]), 1);
    EXPECT_TRUE(HeardFrom(nullptr).empty());  // the window set them: nobody is told
}

}  // namespace
}  // namespace kestrova::uitest
