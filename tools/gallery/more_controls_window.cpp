#include "tools/gallery/more_controls_window.h"

#include <iterator>
#include <string>
#include <utility>

#include "platform/ui/gdi.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/drawing.h"
#include "toolkit/factories.h"
#include "toolkit/label.h"
#include "toolkit/menu.h"
#include "toolkit/message_box.h"
#include "toolkit/notify.h"
#include "toolkit/slider.h"
#include "toolkit/tooltip.h"

namespace kestrova::gallery {
namespace {

constexpr wchar_t kClassName[] = L"KestrovaGalleryMore";
constexpr COLORREF kText = RGB(70, 70, 72);

struct Group {
    const wchar_t* caption;
    int x, y, width, height;
};
constexpr Group kGroups[] = {
    {L"Sliders", 24, 72, 432, 160},
    {L"Menu and tooltip", 24, 268, 432, 112},
    {L"Message boxes", 24, 416, 432, 140},
};

// Control ids.
constexpr int kAddressButton = 501, kPowerButton = 502, kAnswerLabel = 503;
constexpr int kFirstBoxButton = 510;  // one per entry of kBoxes
constexpr int kFirstAddress = 600;    // the menu's command ids

// The message boxes the window opens, one button each.
struct Box {
    const wchar_t* button;
    const wchar_t* text;
    int style, icon;
};
constexpr Box kBoxes[] = {
    {L"OK", L"The recording was saved in the storage folder.", kMessageOkStyle, kMessageInformation},
    {L"Yes, No", L"Remove the device \"Front door\" from the list?", kMessageYesNoStyle, kMessageQuestion},
    {L"Yes, No, Cancel", L"The settings were changed. <nl> Save them before closing the window?",
     kMessageYesNoCancelStyle, kMessageQuestion},
    {L"With check box",
     L"The device could not be started because another program is using it. Close the other program and "
     L"power the device again.",
     kMessageOkStyle | kMessageDontShowAgain, kMessageError},
};

// The window's own state: the menu's items and the tooltip that shows.
struct More {
    MenuItemList addresses;
    HWND toolTip = nullptr;
};

More* MoreOf(HWND window) {
    return reinterpret_cast<More*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Caption(HWND window, const wchar_t* text, int x, int y) {
    CreateLabelEx(window, text, 0, x, y, 0, 0, 13, 0);
}

HWND AddSlider(HWND window, int y, int width, int maximum, int value, int level, int colour) {
    HWND slider = CreateSliderEx(window, 0, 44, y, width, 21, 0, maximum);
    SendMessageW(slider, kSliderThumbBitmap, kPropertySet, kSliderThumbSkin);
    SendMessageW(slider, kSliderValue, kPropertySet, value);
    SendMessageW(slider, kSliderLevel, kPropertySet, MAKELPARAM(1, colour));
    SendMessageW(slider, kSliderLevel, kPropertySet, MAKELPARAM(0, level));
    return slider;
}

void AddSliders(HWND window) {
    AddSlider(window, 96, 201, 10, 3, 6, kLevelBlue);
    Caption(window, L"0..10, level 6", 312, 98);
    AddSlider(window, 130, 201, 10, 7, 10, kLevelRed);
    Caption(window, L"full level, red", 312, 132);
    AddSlider(window, 164, 250, 25, 12, 17, kLevelGreen);
    Caption(window, L"0..25, green", 312, 166);
    HWND disabled = AddSlider(window, 198, 201, 10, 5, 0, kLevelBlue);
    EnableWindow(disabled, FALSE);
    Caption(window, L"disabled", 312, 200);
}

void AddMenuAndToolTip(HWND window, More& more) {
    more.addresses.Insert(kMenuCaption, 0, L"Addresses of this computer", 0, -1);
    more.addresses.Insert(kMenuCommand, kFirstAddress, L"127.0.0.1", 0, -1);
    more.addresses.Insert(kMenuCommand, kFirstAddress + 1, L"192.168.1.4", 0, -1);
    more.addresses.Insert(kMenuSeparator, 0, L"", 0, -1);
    more.addresses.Insert(kMenuCommand, kFirstAddress + 2, L"::1", 0, -1);
    more.addresses.Check(1);
    CreateDropDownButton(window, L"127.0.0.1", kAddressButton, 44, 292, 164, 37, 2);
    Caption(window, L"opens a menu", 44, 333);
    CreateDialogButton(window, L"Power", kPowerButton, 264, 292, 91, 37, 2);
    Caption(window, L"hover it", 367, 303);
}

// A label fits itself to the text it is made with; each answer gets a label of its own.
void ShowAnswer(HWND window, const std::wstring& text) {
    if (HWND old = GetDlgItem(window, kAnswerLabel)) DestroyWindow(old);
    CreateLabelEx(window, text.c_str(), kAnswerLabel, 44, 492, 392, 0, 13, 0);
}

void AddMessageBoxes(HWND window) {
    const int widths[] = {64, 76, 118, 110};
    int x = 44;
    for (int i = 0; i < int(std::size(kBoxes)); ++i) {
        CreateDialogButton(window, kBoxes[i].button, kFirstBoxButton + i, x, 440, widths[i], 37, 2);
        x += widths[i] + 8;
    }
    ShowAnswer(window, L"Open a box; its answer shows here.");
}

void OpenMenu(HWND window) {
    RECT button;
    GetWindowRect(GetDlgItem(window, kAddressButton), &button);
    POINT below{button.left, button.bottom};
    ScreenToClient(window, &below);
    ShowMenuEx(window, below.x, below.y, button.right - button.left, &MoreOf(window)->addresses);
}

void ChooseAddress(HWND window, int index) {
    MenuItemList& addresses = MoreOf(window)->addresses;
    wchar_t text[kMenuTextLimit + 1];
    if (!addresses.GetText(index, text)) return;
    addresses.Check(index);
    SetWindowTextW(GetDlgItem(window, kAddressButton), text);
    InvalidateRect(GetDlgItem(window, kAddressButton), nullptr, FALSE);
}

void OpenBox(HWND window, const Box& box) {
    const int result = ShowMessageEx(window, box.text, box.style, box.icon, 1);
    static const wchar_t* const kNames[] = {L"", L"OK", L"Cancel", L"Yes", L"No"};
    std::wstring answer = L"The box answered " + std::to_wstring(result);
    const int button = result & 0xFF;
    if (button >= 1 && button <= 4) answer += std::wstring(L" (") + kNames[button];
    if (result & kMessageTicked) answer += L", don't show again";
    if (button >= 1 && button <= 4) answer += L")";
    ShowAnswer(window, answer + L".");
}

void OnCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == kAddressButton) return OpenMenu(window);
    if (id >= kFirstAddress && id < kFirstAddress + 3) return ChooseAddress(window, HIWORD(wParam));
    if (id >= kFirstBoxButton && id < kFirstBoxButton + int(std::size(kBoxes)))
        return OpenBox(window, kBoxes[id - kFirstBoxButton]);
}

// The tooltip shows while the cursor rests on the Power button, as the main window's do.
void OnNotify(HWND window, const NMHDR& header) {
    if (header.idFrom != kPowerButton) return;
    More& more = *MoreOf(window);
    if (more.toolTip) DestroyWindow(std::exchange(more.toolTip, nullptr));
    if (header.code == kButtonCursorRested)
        more.toolTip = ShowToolTipEx(window, header.hwndFrom, L"Powers the device on or off");
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT all{0, 0, kMoreWidth, kMoreHeight};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, kText);
    SetBkMode(dc, TRANSPARENT);
    for (const Group& g : kGroups) DrawDashedFrame(dc, g.caption, g.x, g.y, g.width, g.height);
    EndPaint(window, &ps);
}

LRESULT MoreProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_COMMAND:
            OnCommand(window, wParam);
            return 0;
        case WM_NOTIFY:
            OnNotify(window, *reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            delete MoreOf(window);
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

bool RegisterMoreControlsClass() {
    WNDCLASSW wc;
    wc.lpfnWndProc = MoreProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0 && RegisterMessageExWindowClass();
}

HWND CreateMoreControlsWindow(int x, int y) {
    HWND window = CreateWindowExW(0, kClassName, L"Kestrova toolkit gallery, more controls", WS_POPUP, x, y,
                                  kMoreWidth, kMoreHeight, nullptr, 0, nullptr, nullptr);
    if (!window) return nullptr;
    auto* more = new More;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<intptr_t>(more));
    CreateLabelEx(window, L"More controls", 0, 24, 20, 0, 0, 15, 1);
    AddSliders(window);
    AddMenuAndToolTip(window, *more);
    AddMessageBoxes(window);
    ShowWindow(window, SW_SHOW);
    return window;
}

}  // namespace kestrova::gallery
