#include "app/windows/bottom_buttons.h"

#include "app/windows/frame_skin.h"
#include "app/windows/property_window.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/factories.h"

namespace kestrova {
namespace {

constexpr int kCloseWidth = 41, kCloseHeight = 17, kCloseFromRight = 52;
constexpr int kButtonWidth = 91, kButtonHeight = 37, kButtonsFromBottom = 54, kButtonInset = 2;
constexpr int kOkFromRight = 113, kCancelFromRight = 205, kDefaultX = 22;

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

}  // namespace

void CreateCloseButton(HWND window) {
    HWND close = CreateButtonEx(window, L"", kCloseButtonId, ClientSize(window).cx - kCloseFromRight, 1,
                                kCloseWidth, kCloseHeight);
    SendMessageW(close, kButtonBackgroundBitmap, kPropertySet, kPropertyCloseSkin);
    SendMessageW(close, kButtonBackgroundMode, kPropertySet, kStackedBackground);
}

void CreateBottomButton(HWND window, const wchar_t* text, int id, BottomPlace place) {
    const int width = ClientSize(window).cx;
    switch (place) {
        case BottomPlace::OkPlace:
            return CreateBottomButton(window, text, id, width - kOkFromRight);
        case BottomPlace::CancelPlace:
            return CreateBottomButton(window, text, id, width - kCancelFromRight);
        case BottomPlace::DefaultPlace:
            return CreateBottomButton(window, text, id, kDefaultX);
    }
}

void CreateBottomButton(HWND window, const wchar_t* text, int id, int x) {
    CreateDialogButton(window, text, id, x, ClientSize(window).cy - kButtonsFromBottom, kButtonWidth,
                       kButtonHeight, kButtonInset);
}

}  // namespace kestrova
