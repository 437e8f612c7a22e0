#include "platform/ui/resources.h"

#include <gtest/gtest.h>

#include "platform/ui/gdi.h"

namespace kestrova::uitest {
namespace {

constexpr int kMicrophoneSymbol = 5652;  // a bitmap the program ships

TEST(LoadBitmap, EveryLoadIsAFreshHandleOverTheSamePixels) {
    HBITMAP a = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kMicrophoneSymbol));
    HBITMAP b = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kMicrophoneSymbol));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    BITMAP ia, ib;
    GetObjectW(a, sizeof ia, &ia);
    GetObjectW(b, sizeof ib, &ib);
    EXPECT_GT(ia.bmWidth, 0);
    EXPECT_EQ(ia.bmWidth, ib.bmWidth);
    EXPECT_EQ(ia.bmHeight, ib.bmHeight);

    // Drawing into one leaves the other (and later loads) as the resource is.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    COLORREF original = GetPixel(dc, 0, 0);
    SetPixel(dc, 0, 0, original ^ 0xFFFFFF);
    SelectObject(dc, a);
    EXPECT_EQ(GetPixel(dc, 0, 0), original);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

TEST(LoadIcon, TheProgramsIconStandardIconsAndMissingOnes) {
    HICON program = LoadIconW(nullptr, MAKEINTRESOURCEW(101));
    ASSERT_NE(program, nullptr);
    ASSERT_NE(ui::IconPixels(program), nullptr);  // a picture to show in the tray
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

}  // namespace
}  // namespace kestrova::uitest
