#include "toolkit/framed_edit.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/factories.h"

namespace kestrova::uitest {
namespace {

using Notices = std::vector<std::string>;
constexpr COLORREF kBackground = RGB(243, 243, 243), kCue = RGB(155, 155, 157);

class FramedEditTest : public ToolkitTest {
protected:
    HWND Make(const wchar_t* text, int height = 37, int limit = 0, uint32_t styles = 0) {
        edit = CreateDialogEdit(parent, text, 9, 20, 20, 200, height, limit, styles);
        EXPECT_NE(edit, nullptr);
        inner = GetDlgItem(edit, kInnerEditId);
        EXPECT_NE(inner, nullptr);
        PumpMessages();
        log.heard.clear();
        return edit;
    }
    std::wstring Text() {
        wchar_t text[64];
        return std::wstring(text, size_t(GetWindowTextW(edit, text, 64)));
    }
    void SetCue(const std::wstring& cue) {
        SendMessageW(edit, kEditCueText, 1, reinterpret_cast<LPARAM>(cue.c_str()));
    }
    std::wstring Cue(uint16_t capacity) {
        std::wstring buffer(capacity, L'#');
        SendMessageW(edit, kEditCueText, MAKEWPARAM(0, capacity), reinterpret_cast<LPARAM>(buffer.data()));
        return buffer.substr(0, buffer.find(L'\0'));
    }
    int CuePixels() { return CountPixels(edit, RECT{0, 0, 200, 37}, kCue); }
    uint32_t InnerStyle() { return uint32_t(GetWindowLongPtrW(inner, GWL_STYLE)); }

    HWND edit = nullptr;
    HWND inner = nullptr;
};

TEST_F(FramedEditTest, ALowFieldIsOneScrollingLineAndATallOneIsMultiLine) {
    Make(L"", 45, 0, ES_PASSWORD);
    EXPECT_TRUE(InnerStyle() & ES_AUTOHSCROLL);
    EXPECT_FALSE(InnerStyle() & ES_MULTILINE);
    EXPECT_TRUE(InnerStyle() & ES_PASSWORD);
    RECT r;
    GetWindowRect(inner, &r);
    POINT corner{r.left, r.top};
    ScreenToClient(edit, &corner);
    EXPECT_EQ(corner.x, 7);
    EXPECT_EQ(corner.y, 10);
    EXPECT_EQ(r.right - r.left, 200 - 14);
    EXPECT_EQ(r.bottom - r.top, 45 - 19);
    DestroyWindow(edit);
    Make(L"", 46);
    EXPECT_TRUE(InnerStyle() & ES_MULTILINE);
}

TEST_F(FramedEditTest, TheTextLivesInTheInnerEditAndItsNoticesReachTheParentUnderTheFieldsId) {
    Make(L"8000", 37, 5, ES_NUMBER);
    EXPECT_EQ(Text(), L"8000");
    EXPECT_EQ(GetWindowTextLengthW(edit), 4);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 5);
    ClickAt(edit, POINT{150, 18});
    EXPECT_EQ(HeardFrom(edit), Notices{"command 256"});  // EN_SETFOCUS
    PressKey(VK_END);
    TypeText(L"1");
    EXPECT_EQ(HeardFrom(edit), Notices{"command 768"});   // EN_CHANGE
    TypeText(L"2");                                       // over the limit
    EXPECT_EQ(HeardFrom(edit), Notices{"command 1281"});  // EN_MAXTEXT
    EXPECT_EQ(Text(), L"80001");
}

TEST_F(FramedEditTest, ALimitOfZeroLeavesTheEditsOwnLimit) {
    Make(L"", 37, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), LRESULT(ui::kDefaultEditLimit));
}

TEST_F(FramedEditTest, TheCueTextShowsWhileTheFieldIsEmptyAndNotBeingEdited) {
    Make(L"");
    SetCue(L"smtp.example.org");
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(inner));
    EXPECT_GT(CuePixels(), 20);

    ClickAt(edit, POINT{100, 18});  // on the cue: the caret comes back
    EXPECT_TRUE(IsWindowVisible(inner));
    EXPECT_EQ(GetFocus(), inner);
    TypeText(L"mail");
    SetFocus(parent);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(inner));  // left with text: the text shows
    EXPECT_EQ(CuePixels(), 0);

    SetWindowTextW(edit, L"");  // emptied while not focused
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(inner));
    EXPECT_GT(CuePixels(), 20);

    ClickAt(edit, POINT{100, 18});
    SetFocus(parent);  // left empty
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(inner));
}

TEST_F(FramedEditTest, TheCueTextKeeps250CharactersAndIsReadIntoTheCallersCapacity) {
    Make(L"");
    SetCue(std::wstring(300, L'x'));
    EXPECT_EQ(Cue(400), std::wstring(250, L'x'));
    SetCue(L"0123456789abc");
    EXPECT_EQ(Cue(10), L"012345678");
}

TEST_F(FramedEditTest, StyleBitsAreAddedAndRemovedOnTheInnerEdit) {
    Make(L"secret");
    SendMessageW(edit, kEditStyleBits, 1, ES_PASSWORD | ES_CENTER);
    EXPECT_EQ(InnerStyle() & (ES_PASSWORD | ES_CENTER), ES_PASSWORD | ES_CENTER);
    SendMessageW(edit, kEditStyleBits, 0, ES_PASSWORD);
    EXPECT_EQ(InnerStyle() & (ES_PASSWORD | ES_CENTER), ES_CENTER);
}

TEST_F(FramedEditTest, TheFieldIsALightGreyBoxWithAFrameAndSoftenedCorners) {
    Make(L"");
    const struct {
        POINT at;
        COLORREF colour;
    } cases[] = {
        {{0, 0}, RGB(244, 244, 244)}, {{199, 36}, RGB(244, 244, 244)}, {{1, 0}, RGB(220, 220, 220)},
        {{0, 1}, RGB(220, 220, 220)}, {{199, 18}, RGB(220, 220, 220)}, {{3, 3}, kBackground},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadPixel(edit, c.at.x, c.at.y), c.colour) << c.at.x << "," << c.at.y;
    SetWindowTextW(edit, L"kestrova");
    PumpMessages();
    EXPECT_EQ(ReadPixel(inner, 150, 5), kBackground);  // the inner edit takes the field's colours
    EXPECT_GT(CountPixels(inner, RECT{0, 0, 60, 18}, RGB(70, 70, 72)), 20);
}

}  // namespace
}  // namespace kestrova::uitest
