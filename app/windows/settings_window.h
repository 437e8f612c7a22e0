#pragma once
// The settings window (class BKV2SettingsWndClass, caption "Settings"): four options of the program's
// settings, and the storage folder, which it opens in the file manager or lets the user replace; a new
// folder takes effect after a restart, so choosing one ends the window with the answer to close the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/types.h"

namespace kestrova {

class AppSettings;

inline constexpr wchar_t kSettingsWindowClass[] = L"BKV2SettingsWndClass";

// The settings window's results besides 0 and 1: OK after the user agreed to close the program for a new
// storage folder.
inline constexpr int kSettingsRestart = 2;

uint16_t RegisterSettingsWindowClass();
// Edits the main window's `settings` (START_WITH_WIN, SAVE_DEV_LIST_ON_EXIT, LOAD_USB_DEVS, SHOW_TOOLTIPS)
// and `storageFolder`. 0 cancelled or closed, and always without settings; 1 OK; 2 OK with a new storage
// folder, after which the caller saves the settings and closes the program. Without a storage folder its
// links do nothing.
int ShowSettingsWindow(HWND owner, AppSettings* settings, std::wstring* storageFolder);

// The storage folder for a folder the user chose: its path with the trailing "/", or nothing when that is
// longer than a storage folder may be.
std::optional<std::wstring> StorageFolderFor(std::wstring_view chosen);

}  // namespace kestrova
