// The main window's creation, its controls and layout, and its painting.
#include <unistd.h>

#include <cstring>

#include "app/caption_band.h"
#include "app/display_window.h"
#include "app/image_button.h"
#include "app/main_window.h"
#include "app/program_globals.h"
#include "app/window_object.h"
#include "engine/device_messages.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/ui/gdi.h"
#include "platform/ui/listbox.h"
#include "platform/ui/painting.h"
#include "platform/ui/resources.h"
#include "platform/ui/windows.h"
#include "toolkit/buffered_paint.h"
#include "toolkit/drawing.h"
#include "toolkit/skin.h"
#include "toolkit/slider.h"
#include "toolkit/tray_icon.h"
#include "toolkit/window_frame.h"

namespace kestrova {
namespace {

constexpr int kIconResource = 101;
constexpr int kSkin = 5376;
constexpr COLORREF kText = RGB(70, 70, 72);
constexpr int kItemHeight = 33;
constexpr int kWidth = kMainWindowWidth;

// Buttons without text on stacked skins of whole-size faces. The state buttons 1030..1034 start off.
struct ImageButton {
    int id;
    int x, y, width, height;
    int bitmap;
};

constexpr ImageButton kButtons[] = {
    {kMainCloseButtonId, kWidth - 51, 1, 41, 17, 5457},
    {kHideButtonId, kWidth - 75, 1, 23, 17, 5458},
    {kMenuButtonId, kWidth - 99, 1, 23, 17, 5459},
    {kPowerButtonId, 84, 403, 36, 26, 5633},
    {kAlarmButtonId, 121, 403, 36, 26, 5635},
    {kStreamingButtonId, 158, 403, 36, 26, 5637},
    {kMaskingButtonId, 195, 403, 36, 26, 5639},
    {kSchedulingButtonId, 232, 403, 36, 26, 5641},
    {kDevicePropertiesButtonId, 269, 403, 36, 26, 5648},
    {kDisplayPropertiesButtonId, 306, 403, 36, 26, 5649},
    {kDeviceListButtonId, 343, 403, 36, 26, 5650},
    {kSettingsButtonId, 380, 403, 36, 26, 5651},
};

struct Slider {
    int id;
    int x;
};
constexpr Slider kSliders[] = {{kToleranceSliderId, 33}, {kSensitivitySliderId, 267}};
constexpr int kSliderTop = 481, kSliderWidth = 201, kSliderHeight = 21, kLevelMaximum = 10;

constexpr uint32_t kListStyles = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                                 LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT;

// The storage folder's default: "Kestrova/" in the user's Documents folder, made when missing, and the
// current folder, so that the alarm sounds and the recorder's placeholder file resolve there.
std::wstring DefaultStorageFolder() {
    const std::wstring documents = DocumentsFolder();
    if (documents.empty()) return {};
    const std::wstring folder = WithTrailingSlash(documents) + L"Kestrova/";
    if (!CreateFolderTree(folder)) DebugOutput(L"Storage folder cannot be made: " + folder);
    if (chdir(NativePath(folder).c_str()) != 0) DebugOutput(L"Storage folder cannot be entered: " + folder);
    return folder;
}

}  // namespace

WindowStart StartFromArguments(int argc, const char* const* argv) {
    const bool hidden = argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], "/min") == 0;
    return hidden ? WindowStart::kHidden : WindowStart::kShown;
}

BOOL RegisterMainWindowClass() {
    return RegisterObjectWindowClass<MainWindow>(kMainWindowClass, kIconResource);
}

HWND CreateMainWindow(WindowStart start) {
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 250;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 336;
    HWND window = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_POPUP, x, y, kMainWindowWidth,
                                  kMainWindowHeight, nullptr, 0, nullptr, nullptr);
    if (window == nullptr) return nullptr;
    toolkit::RoundWindowCorners(window, kMainWindowWidth, kMainWindowHeight);
    UpdateWindow(window);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    // Hidden, the program lives in the notification area until the user opens it from there.
    ShowWindow(window, start == WindowStart::kHidden ? SW_HIDE : SW_SHOW);
    return window;
}

MainWindow::MainWindow(HWND window, const CREATESTRUCTW&)
    : window_(window), font_(CreateUiFont(L"Tahoma", 13, 0, 0)) {}

MainWindow* MainWindow::FromHandle(HWND window) {
    return WindowObjectOfClass<MainWindow>(window, kMainWindowClass);
}

LRESULT MainWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_NCHITTEST:
            return CaptionBandHitTest(window_, wParam, lParam);
        case WM_SETFOCUS:
            SetFocus(GetDlgItem(window_, kDeviceListBoxId));
            break;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
            return TRUE;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case kTrayIconMessage:
            OnTrayIcon(lParam);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_DEVICE_NOTIFY:
            OnDeviceNotify(wParam, lParam);
            return 0;
        case WM_GRAPH_NOTIFY:
            OnGraphNotify(lParam);
            return 0;
        case kWebServerNotifyMessage:
            OnServerState(wParam);
            return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

void MainWindow::OnCreate() {
    TrayIcon::Add(window_, LoadIconW(nullptr, MAKEINTRESOURCEW(kIconResource)), kMainWindowTitle);
    storageFolder_ = DefaultStorageFolder();
    settings_.Load(storageFolder_);
    Globals().settings = &settings_;
    CreateControls();
    Globals().mainWindow = window_;
    Globals().displayWindow = displayWindow_;

    HWND list = GetDlgItem(window_, kDeviceListBoxId);
    previousListProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&MainWindow::DeviceListBox)));

    streaming_.storageFolder = storageFolder_;
    streaming_.notifyWindow = window_;
    SetGlobalDeviceList(&devices_);
    if (settings_.saveDevListOnExit) RestoreDevices();
    if (settings_.loadUsbDevs) AddUsbVideoDevices();
    RefreshDeviceList();
}

void MainWindow::CreateControls() {
    for (const ImageButton& b : kButtons) {
        if (b.id == kPowerButtonId) displayWindow_ = CreateDisplayWindow(window_, kDisplayId);
        CreateImageButton(window_, b.id, b.x, b.y, b.width, b.height, b.bitmap);
    }
    for (const Slider& s : kSliders) {
        HWND slider =
            CreateSliderEx(window_, s.id, s.x, kSliderTop, kSliderWidth, kSliderHeight, 0, kLevelMaximum);
        SendMessageW(slider, kSliderThumbBitmap, kPropertySet, kSliderThumbSkin);
    }
    CreateWindowExW(0, L"LISTBOX", L"", kListStyles, 30, 548, 440, 99, window_, kDeviceListBoxId, nullptr,
                    nullptr);
}

void MainWindow::OnPaint() {
    toolkit::PaintBuffered(window_, [](HDC dc, int width, int height) {
        const toolkit::Skin skin(dc, kSkin);
        skin.CopyTo(dc, 0, 0, width, height, 0, 0);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kText);
        DrawDashedFrame(dc, L"Tolerance", 24, 468, 218, 45);
        DrawDashedFrame(dc, L"Sensitivity", 258, 468, 218, 45);
        DrawDashedFrame(dc, L"Devices", 24, 542, width - 48, 111);
    });
}

void MainWindow::OnCommand(int id, int code) {
    switch (id) {
        case kMainCloseButtonId:
        case kHideButtonId:
        case kMenuButtonId:
            OnCaptionButton(id);
            break;
        default:
            if (!OnDeviceCommand(id, code)) OnMenuCommand(id);
            break;
    }
}

}  // namespace kestrova
