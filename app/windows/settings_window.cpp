#include "app/windows/settings_window.h"

#include <array>

#include "app/app_settings.h"
#include "app/windows/control_table.h"
#include "app/windows/property_frame.h"
#include "platform/base/files.h"
#include "platform/shell/file_dialogs.h"
#include "platform/shell/shell_open.h"
#include "toolkit/message_box.h"
#include "toolkit/skin_ids.h"

namespace kestrova {
namespace {

constexpr SIZE kSize{540, 388};
constexpr int kOpenFolderId = 1047, kSelectFolderId = 1048;
// The four options' check boxes, in the order of their fields.
constexpr std::array<int, 4> kOptionIds = {1043, 1044, 1045, 1046};
constexpr std::array<int32_t, 4> kDefaultOptions = {0, 0, 1, 1};

constexpr ControlSpec kControls[] = {
    {ControlKind::Heading, 1036, L"Program", 19, 101},
    {ControlKind::CheckBox, 1043, L"Start with Windows", 37, 129},
    {ControlKind::CheckBox, 1044, L"Save device list on exit and restore it on startup", 37, 154},
    {ControlKind::CheckBox, 1045, L"Load USB video devices on startup", 37, 179},
    {ControlKind::CheckBox, 1046, L"Show tooltips", 37, 204},
    {ControlKind::Heading, 1037, L"Storage", 19, 231},
    {ControlKind::Link, kOpenFolderId, L"Open storage folder", 37, 259, 509, 14, kLinkIcon},
    {ControlKind::Link, kSelectFolderId, L"Select storage folder", 37, 284, 509, 14, kLinkIcon},
};

constexpr wchar_t kRestartQuestion[] =
    L"For the changes to take effect you will need to restart the program.\n \nSave and close the program?";
constexpr wchar_t kFolderTooLong[] =
    L"The path of the chosen folder is too long for the storage folder.<nl>Please choose a folder with a "
    L"shorter path.";

constexpr wchar_t kFolderNotOpened[] =
    L"The storage folder could not be opened.<nl>Its parent folder may be gone, or no file manager is "
    L"installed.";

// The AppSettings fields the window edits, in the order of kOptionIds.
std::array<int32_t*, 4> OptionFields(AppSettings& settings) {
    return {&settings.startWithWin, &settings.saveDevListOnExit, &settings.loadUsbDevs,
            &settings.showTooltips};
}

// The folder the browser chose, freed with the browser's allocator however the choice goes.
struct ChosenFolder {
    PIDLIST_ABSOLUTE list = nullptr;
    ~ChosenFolder() { CoTaskMemFree(list); }
};

class SettingsWindow {
public:
    SettingsWindow(HWND window, const CREATESTRUCTW& create)
        : frame_(window, create), target_(frame_.RecordAs<Target>()) {
        if (target_ && target_->settings) {
            const auto fields = OptionFields(*target_->settings);
            for (size_t i = 0; i < options_.size(); ++i) options_[i] = *fields[i];
        }
    }

    // What Show hands the window.
    struct Target {
        AppSettings* settings;
        std::wstring* storageFolder;
    };

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DispatchPropertyMessage(*this, frame_, msg, wParam, lParam);
    }

    void OnPaint() const { frame_.Paint(L"Settings"); }

    void OnCreate() {
        frame_.CreateButtons(FrameButtons::CloseOkCancelDefault);
        CreateControls(Window(), kControls);
        ShowOptions(options_);
    }

    void OnCommand(int id) {
        switch (id) {
            case kOkButtonId:
                OnOk(kPropertyOk);
                return;
            case kDefaultButtonId:
                ShowOptions(kDefaultOptions);
                return;
            case kOpenFolderId:
                OnOpenFolder();
                return;
            case kSelectFolderId:
                OnSelectFolder();
                return;
        }
    }

private:
    HWND Window() const { return frame_.Window(); }
    std::wstring* StorageFolder() const { return target_ ? target_->storageFolder : nullptr; }

    void ShowOptions(const std::array<int32_t, 4>& options) const {
        for (size_t i = 0; i < kOptionIds.size(); ++i) SetChecked(Window(), kOptionIds[i], options[i] != 0);
    }

    void OnOk(int result) {
        if (target_ && target_->settings) {
            const auto fields = OptionFields(*target_->settings);
            for (size_t i = 0; i < kOptionIds.size(); ++i)
                *fields[i] = IsChecked(Window(), kOptionIds[i]) ? 1 : 0;
            frame_.SetResult(result);
        }
        frame_.Close();
    }

    // The folder may have been deleted since the start: it is made again (its parent must exist).
    void OnOpenFolder() const {
        const std::wstring* folder = StorageFolder();
        if (!folder || folder->empty()) return;
        CreateFolder(*folder);
        if (!ShellOpen(*folder)) frame_.ShowMessage(kFolderNotOpened, kMessageWarning);
    }

    void OnSelectFolder() {
        if (!StorageFolder()) return;
        BROWSEINFOW browse;
        browse.hwndOwner = Window();
        browse.lpszTitle = L"Select storage folder:";
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        ChosenFolder chosen{SHBrowseForFolderW(&browse)};
        if (!chosen.list) return;
        wchar_t path[MAX_PATH];
        const std::optional<std::wstring> folder =
            SHGetPathFromIDListW(chosen.list, path) ? StorageFolderFor(path) : std::nullopt;
        if (!folder) {
            frame_.ShowMessage(kFolderTooLong, kMessageWarning);
            return;
        }
        const int answer = ShowMessageEx(Window(), kRestartQuestion, kMessageYesNoStyle, kMessageQuestion, 1);
        if ((answer & 0xFF) != kMessageYes) return;
        *StorageFolder() = *folder;
        OnOk(kSettingsRestart);
    }

    PropertyFrame frame_;
    const Target* target_;
    // The options as the window found them.
    std::array<int32_t, 4> options_{};
};

}  // namespace

uint16_t RegisterSettingsWindowClass() {
    return RegisterPropertyWindowClass(kSettingsWindowClass, PropertyWindowProc<SettingsWindow>);
}

int ShowSettingsWindow(HWND owner, AppSettings* settings, std::wstring* storageFolder) {
    SettingsWindow::Target target{settings, storageFolder};
    return ShowPropertyWindow(kSettingsWindowClass, owner, &target, kSize);
}

std::optional<std::wstring> StorageFolderFor(std::wstring_view chosen) {
    if (chosen.empty()) return std::nullopt;
    std::wstring folder = WithTrailingSlash(chosen);
    if (folder.size() > kMaxStorageFolderChars) return std::nullopt;
    return folder;
}

}  // namespace kestrova
