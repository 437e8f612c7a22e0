#pragma once
// The program's settings, kept in "Settings.ini" in the configuration folder, section "SETTINGS":
//
//   START_WITH_WIN             0   keep the autostart entry that starts the program hidden ("/min")
//   SAVE_DEV_LIST_ON_EXIT      0   restore "DevList.db" at start, write it at exit
//   LOAD_USB_DEVS              1   add the attached USB cameras that are not listed yet at start
//   SHOW_TOOLTIPS              1   tooltips of the main window's buttons
//   VIDEO_STREAMS_PER_DISPALY  1   tiles of the display: 1, 4, 9, 16 or 25
//   STORAGE_PATH                   the storage folder, with its trailing "/"; empty keeps the storage folder
//
// One record, made with the defaults above by the main window and used on the user-interface thread only.
// Loading and saving also keep the autostart entry in step with START_WITH_WIN.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrova {

// The longest storage folder, in characters, with its trailing "/".
inline constexpr size_t kMaxStorageFolderChars = 1023;

class AppSettings {
public:
    // The first four, in this order, are the options the settings window edits.
    int32_t startWithWin = 0;
    int32_t saveDevListOnExit = 0;
    int32_t loadUsbDevs = 1;
    int32_t showTooltips = 1;
    int32_t videoStreamsPerDisplay = 1;

    // The configuration folder's "Settings.ini".
    static std::wstring FilePath();

    // Reads the file into the record (a missing file or key gives the key's default) and, when
    // STORAGE_PATH is set and fits, into `storageFolder`, which also becomes the current directory as far
    // as it exists; then SyncAutoStart.
    void Load(std::wstring& storageFolder);
    // Writes the record and `storageFolder` over the keys of the file, keeping every other line; then
    // SyncAutoStart. 1 when the file was written, 0 when it was left as it was.
    int Save(const std::wstring& storageFolder);
    // Writes the autostart entry while START_WITH_WIN is on (the flag becomes exactly 1 when that
    // succeeds) and removes it while it is off.
    void SyncAutoStart();
};

}  // namespace kestrova
