#include "app/app_settings.h"

#include <unistd.h>

#include <memory>

#include "app/profile_file.h"
#include "app/registry_values.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/shell/registry.h"

namespace kestrova {
namespace {

constexpr char kSection[] = "SETTINGS";

bool IsStreamCount(int32_t count) {
    return count == 1 || count == 4 || count == 9 || count == 16 || count == 25;
}

std::wstring Flag(int32_t on) {
    return on != 0 ? L"1" : L"0";
}

}  // namespace

std::wstring AppSettings::FilePath() {
    return ConfigFolder() + L"Settings.ini";
}

void AppSettings::Load(std::wstring& storageFolder) {
    // The file is UTF-8: its STORAGE_PATH reads as wide text whatever the letters of the folder's name.
    ProfileFile file;
    file.Read(FilePath());

    const std::wstring storage = file.GetString(kSection, "STORAGE_PATH").value_or(L"");
    const std::wstring folder = storage.empty() ? storage : WithTrailingSlash(storage);
    // A folder longer than the program keeps is refused whole rather than cut to another folder.
    if (!folder.empty() && folder.size() <= kMaxStorageFolderChars) {
        storageFolder = folder;
        // The folder is not created here: when it does not exist the current directory stays as it is.
        if (chdir(NativePath(folder).c_str()) != 0) DebugOutput(L"Storage folder not found: " + folder);
    }

    startWithWin = file.GetInt(kSection, "START_WITH_WIN", 0);
    saveDevListOnExit = file.GetInt(kSection, "SAVE_DEV_LIST_ON_EXIT", 0);
    loadUsbDevs = file.GetInt(kSection, "LOAD_USB_DEVS", 1);
    showTooltips = file.GetInt(kSection, "SHOW_TOOLTIPS", 1);
    videoStreamsPerDisplay = file.GetInt(kSection, "VIDEO_STREAMS_PER_DISPALY", 1);
    if (!IsStreamCount(videoStreamsPerDisplay)) videoStreamsPerDisplay = 1;
    SyncAutoStart();
}

int AppSettings::Save(const std::wstring& storageFolder) {
    const std::wstring path = FilePath();
    ProfileFile file;
    // A file that is there but cannot be read is not replaced by one that has lost its other lines.
    bool written = file.Read(path);
    if (written) {
        file.SetString(kSection, "START_WITH_WIN", Flag(startWithWin));
        file.SetString(kSection, "SAVE_DEV_LIST_ON_EXIT", Flag(saveDevListOnExit));
        file.SetString(kSection, "LOAD_USB_DEVS", Flag(loadUsbDevs));
        file.SetString(kSection, "SHOW_TOOLTIPS", Flag(showTooltips));
        file.SetString(kSection, "VIDEO_STREAMS_PER_DISPALY", std::to_wstring(videoStreamsPerDisplay));
        // A folder name with a line break cannot be a value of its own line: the old value stays.
        file.SetString(kSection, "STORAGE_PATH", storageFolder);
        written = file.Write(path);
    }
    SyncAutoStart();
    return written ? 1 : 0;
}

void AppSettings::SyncAutoStart() {
    std::unique_ptr<RegistryKey> run;
    if (RegistryKey::Create(RegistryRoot::kCurrentUser, kSessionStartKey, run) != kRegistryOk) return;
    if (startWithWin == 0) {
        run->DeleteValue(kAutoStartValue);  // none to delete is as good
        return;
    }
    // An entry that starts nothing is not written.
    const std::wstring program = ExecutablePath();
    if (!program.empty() && RegWriteString(*run, kAutoStartValue, program + L" /min") == kRegistryOk) {
        startWithWin = 1;
    }
}

}  // namespace kestrova
