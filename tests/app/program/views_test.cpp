#include <gtest/gtest.h>

#include "app/device_serials.h"
#include "app/fullscreen_view.h"
#include "app/own_windows.h"
#include "app/popup_view.h"
#include "platform/ui/windows.h"
#include "tests/app/program/program_fixture.h"
#include "toolkit/choice.h"

namespace kestrova::uitest {
namespace {

class ViewsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        OpenMainWindow();
    }
    static COLORREF PictureOf(HWND popup) {
        return ReadPixel(popup, (kPopupPicture.left + kPopupPicture.right) / 2,
                         (kPopupPicture.top + kPopupPicture.bottom) / 2);
    }
    static std::vector<HWND> Popups() { return OwnWindowsOfClass(kPopupWindowClass); }
    static std::vector<HWND> FullscreenViews() { return OwnWindowsOfClass(kFullscreenWindowClass); }
};

TEST_F(ViewsTest, EachDeviceHasOnePopupThatLaterRequestsBringForward) {
    testing::TestDevice* porch = AddDevice(kDeviceUsbCamera, L"Porch", true);
    testing::TestDevice* yard = AddDevice(kDeviceUsbCamera, L"Yard", true);
    porch->PutFrame(320, 240, 0, 0, 200);
    yard->PutFrame(320, 240, 200, 0, 0);

    EXPECT_EQ(PopupWindow::Show(nullptr, porch), 1);
    HWND porchPopup = PopupWindow::Find(porch);
    ASSERT_NE(porchPopup, nullptr);
    EXPECT_EQ(PopupWindow::Show(nullptr, yard), 1);
    EXPECT_EQ(Popups().size(), 2u);
    EXPECT_NE(GetForegroundWindow(), porchPopup);

    EXPECT_EQ(PopupWindow::Show(nullptr, porch), 0);  // a second alarm of the same device
    EXPECT_EQ(Popups().size(), 2u);
    EXPECT_EQ(GetForegroundWindow(), porchPopup);
    AdvanceClock(clock, 40);
    EXPECT_EQ(PictureOf(porchPopup), FrameColour(0, 0, 200));
    EXPECT_EQ(PictureOf(PopupWindow::Find(yard)), FrameColour(200, 0, 0));

    // The device's name in the caption band, in light letters on the dark band.
    int lettered = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 14; x < 120; ++x) lettered += ReadPixel(porchPopup, x, y) == RGB(240, 240, 240);
    EXPECT_GT(lettered, 20);

    RECT placed;
    GetWindowRect(porchPopup, &placed);
    EXPECT_EQ(placed.left, 640 - 185);
    EXPECT_EQ(placed.top, 400 - 172);
    EXPECT_EQ(placed.right - placed.left, kPopupWidth);
    EXPECT_EQ(GetWindow(porchPopup, GW_OWNER), nullptr);

    Click(OnScreen(GetDlgItem(porchPopup, kPopupCloseId), POINT{20, 8}));
    EXPECT_FALSE(IsWindow(porchPopup));
    EXPECT_EQ(Popups().size(), 1u);
}

TEST_F(ViewsTest, APopupGoesGreyWhenItsDeviceStopsOrGoesAndNeverShowsAnotherDevice) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    camera->PutFrame(320, 240, 0, 0, 200);
    PopupWindow::Show(nullptr, camera);
    HWND first = PopupWindow::Find(camera);
    AdvanceClock(clock, 40);
    EXPECT_EQ(PictureOf(first), FrameColour(0, 0, 200));

    camera->Stop();
    AdvanceClock(clock, 40);
    EXPECT_EQ(PictureOf(first), kPopupNoPicture);
    camera->Start();

    // As when the device is deleted and a new one is made at its address: the new device is not the one
    // the popup showed, and gets a popup of its own.
    ForgetDeviceSerial(camera);
    AdvanceClock(clock, 40);
    EXPECT_EQ(PictureOf(first), kPopupNoPicture);
    EXPECT_EQ(PopupWindow::Show(nullptr, camera), 1);
    EXPECT_NE(PopupWindow::Find(camera), first);

    // Deleted from the list: the popup stays open, grey, and never touches it.
    HWND second = PopupWindow::Find(camera);
    camera->SetDeletedMark(1);
    Main().RefreshDeviceList();
    AdvanceClock(clock, 40);
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(PictureOf(second), kPopupNoPicture);
}

TEST_F(ViewsTest, StayOnTopCanBeUntickedAndTickedAgain) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    PopupWindow::Show(nullptr, camera);
    HWND popup = PopupWindow::Find(camera);
    HWND box = GetDlgItem(popup, kPopupStayOnTopId);
    auto topmost = [&] { return (GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_TRUE(topmost());
    EXPECT_EQ(SendMessageW(box, kChoiceChecked, 0, 0), 1);
    Click(OnScreen(box, POINT{5, 7}));
    EXPECT_FALSE(topmost());
    Click(OnScreen(box, POINT{5, 7}));
    EXPECT_TRUE(topmost());
}

TEST(FullscreenPicture, IsAFourByThreePictureCentredWithinTheScreen) {
    struct Case {
        int width, height;
        RECT picture;
    };
    const Case cases[] = {
        {1280, 1024, {0, 0, 1280, 1024}},    // ceil(1024 x 1.33333) = 1366 is wider than the screen
        {1920, 1080, {240, 0, 1680, 1080}},  // 1440 wide
        {1024, 768, {0, 0, 1024, 768}},
        {1280, 800, {106, 0, 1173, 800}},  // ceil(1066.664) = 1067
    };
    for (const Case& c : cases) {
        const RECT r = FullscreenPicture(c.width, c.height);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<int>{c.picture.left, c.picture.top, c.picture.right, c.picture.bottom}))
            << c.width << " x " << c.height;
    }
}

TEST_F(ViewsTest, AFullscreenViewCoversTheScreenAndClosesOnAClickOrOnLosingTheFocus) {
    testing::TestDevice* camera = AddDevice(kDeviceUsbCamera, L"Porch", true);
    camera->PutFrame(320, 240, 0, 150, 0);
    struct Case {
        const char* what;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"left click",
         [] {
             Click(POINT{600, 300});
         }},
        {"right click",
         [] {
             Click(POINT{5, 5}, MouseButton::Right);
         }},
        {"another window forward", [this] { SetForegroundWindow(main); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(ShowFullscreenWindow(Display(), camera), 1);
        ASSERT_EQ(FullscreenViews().size(), 1u);
        HWND view = FullscreenViews()[0];
        EXPECT_EQ(GetWindow(view, GW_OWNER), main);
        AdvanceClock(clock, 40);
        EXPECT_EQ(ScreenPixel(POINT{640, 400}), FrameColour(0, 150, 0));
        EXPECT_EQ(ScreenPixel(POINT{50, 400}), RGB(0, 0, 0));  // the bars beside the 4:3 picture
        c.close();
        EXPECT_FALSE(IsWindow(view));
    }
}

}  // namespace
}  // namespace kestrova::uitest
