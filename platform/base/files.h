#pragma once
// Files and folders. Paths are wide text, "/" separated; folders named by the program end in "/".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

std::string NativePath(std::wstring_view path);  // the UTF-8 bytes the system calls take

// Creates one folder; a folder that exists already counts as success.
bool CreateFolder(std::wstring_view path);
// Creates a folder and every missing parent.
bool CreateFolderTree(std::wstring_view path);
// True when something (file or folder) exists at `path`.
bool FileExists(std::wstring_view path);
bool IsFolder(std::wstring_view path);
bool RemoveFile(std::wstring_view path);
// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(std::wstring_view path, std::vector<uint8_t>& out);
// Writes `size` bytes to a temporary file beside `path` and renames it over `path`, so a reader sees either the
// old or the new content, never a part. With `Durability::SyncToDisk` the data reaches the disk before the rename,
// so a power cut right after a save leaves the old file or the new one, whole; files that are rewritten every
// second and lose nothing when lost (web snapshots) skip that cost.
enum class Durability { CacheOnly, SyncToDisk };
bool WriteFileAtomic(std::wstring_view path, const void* data, size_t size,
                     Durability durability = Durability::CacheOnly);
// The folder part of a path, with its trailing "/" ("" when there is none).
std::wstring FolderOf(std::wstring_view path);
// Appends "/" when missing.
std::wstring WithTrailingSlash(std::wstring_view folder);

// Read-only program data (the skins' fallback, "Server.db", alarm sounds): $KESTROVA_DATA_DIR, else
// share/kestrova beside the executable's folder when installed, else the executable's folder.
std::wstring ProgramDataFolder();
// Writable program state ("Settings.ini", "DevList.db", the registry store): $KESTROVA_CONFIG_DIR, else
// $XDG_CONFIG_HOME/kestrova/, else ~/.config/kestrova/. Created on first use.
std::wstring ConfigFolder();
// The user's Documents folder: $KESTROVA_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR from user-dirs.dirs, else
// ~/Documents/.
std::wstring DocumentsFolder();
// The user's home folder, ending in "/": $HOME, else the password database's, else "/tmp/".
std::wstring HomeFolder();
// The running executable's path.
std::wstring ExecutablePath();

}  // namespace kestrova
