// The main window's caption buttons, its menu, the tooltips of its buttons and its notification-area icon.
#include <algorithm>

#include "app/main_window.h"
#include "app/own_windows.h"
#include "app/program_pages.h"
#include "app/windows/about_window.h"
#include "net/web_server.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/ui/menus.h"
#include "platform/ui/painting.h"
#include "platform/ui/resources.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/message_box.h"
#include "toolkit/tooltip.h"

namespace kestrova {
namespace {

constexpr int kMainMenu = 4608;
constexpr POINT kMenuPlace{401, 19};  // client point of the menu's top-left corner, under the menu button

// The menu's commands.
constexpr int kOpenStorageCommand = 4609;
constexpr int kOpenStreamingPageCommand = 4610;
constexpr int kHelpCommand = 4617;
constexpr int kAboutCommand = 4624;

// The commands that open the maker's pages.
struct PageCommand {
    int id;
    ProgramPage page;
};
constexpr PageCommand kPageCommands[] = {
    {4611, ProgramPage::kWebsite},  {4612, ProgramPage::kContact}, {4613, ProgramPage::kFeedback},
    {4614, ProgramPage::kFacebook}, {4615, ProgramPage::kTwitter}, {4616, ProgramPage::kGooglePlus},
};

constexpr size_t kAddressCharacters = 200;

const wchar_t* ToolTipText(int id) {
    switch (id) {
        case kPowerButtonId:
            return L"Power";
        case kAlarmButtonId:
            return L"Alarm";
        case kStreamingButtonId:
            return L"Streaming";
        case kMaskingButtonId:
            return L"Masking";
        case kSchedulingButtonId:
            return L"Scheduling";
        case kDisplayPropertiesButtonId:
            return L"Display Properties";
        case kDevicePropertiesButtonId:
            return L"Device Properties";
        case kDeviceListButtonId:
            return L"Device List";
        case kSettingsButtonId:
            return L"Settings";
    }
    return nullptr;
}

}  // namespace

void MainWindow::OnCaptionButton(int id) {
    switch (id) {
        case kMainCloseButtonId:
            SendMessageW(window_, WM_CLOSE, 0, 0);
            break;
        case kHideButtonId:
            // To the notification area; a minimised window comes back instead.
            ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_HIDE);
            break;
        case kMenuButtonId: {
            HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(kMainMenu));
            if (menu == nullptr) return;
            POINT at = kMenuPlace;
            ClientToScreen(window_, &at);
            TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTBUTTON, at.x, at.y, 0, window_, nullptr);
            DestroyMenu(menu);
            SetFocus(GetDlgItem(window_, kDeviceListBoxId));
            break;
        }
    }
}

void MainWindow::OnMenuCommand(int id) {
    switch (id) {
        case kOpenStorageCommand:
            if (!storageFolder_.empty() && !IsFolder(storageFolder_)) CreateFolderTree(storageFolder_);
            ShellOpen(storageFolder_);
            break;
        case kOpenStreamingPageCommand:
            OpenStreamingPage();
            break;
        case kHelpCommand:
            OpenHelp();
            break;
        case kAboutCommand:
            ShowAboutWindow(window_);
            break;
    }
    for (const PageCommand& command : kPageCommands) {
        if (command.id == id) OpenProgramPage(command.page);
    }
}

void MainWindow::OpenStreamingPage() {
    const WebServerSettings* server = streaming_.settings.get();
    if (!IsStreaming() || server == nullptr) {
        ShowMessageEx(window_, L"The streaming is currently offline.", kMessageOkStyle, kMessageInformation,
                      1);
        return;
    }
    std::wstring address = FromUtf8Field(server->bindAddress, sizeof server->bindAddress);
    address.resize(std::min(address.size(), kAddressCharacters));
    ShellOpen(L"http://" + address + L":" + std::to_wstring(server->port) + L"/");
}

void MainWindow::OnNotify(const NMHDR& header) {
    // Nothing over a window that does not take input now (a modal window is open, or the button is off).
    if (!IsWindowEnabled(window_) || !IsWindowEnabled(header.hwndFrom)) return;
    switch (header.code) {
        case kButtonCursorRested:
            if (!settings_.showTooltips) return;
            if (const wchar_t* text = ToolTipText(int(header.idFrom)))
                ShowToolTipEx(window_, header.hwndFrom, text);
            break;
        case kButtonCursorLeft:
            DestroyOwnWindowsOfClass(toolkit::kToolTipExClass.name);
            break;
    }
}

void MainWindow::OnTrayIcon(LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_RBUTTONDOWN) return;
    if (!IsWindowVisible(window_)) {
        UpdateWindow(window_);
        ShowWindow(window_, SW_SHOW);
    }
    // A click brings the window back whole, also from the minimised state.
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    BringWindowToTop(window_);
}

}  // namespace kestrova
