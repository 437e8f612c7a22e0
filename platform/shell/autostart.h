#pragma once
// Starting a program with the desktop session: one XDG autostart entry per name in the autostart folder.

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// $XDG_CONFIG_HOME/autostart/, else ~/.config/autostart/.
std::wstring AutostartFolder();

// Writes (or replaces) the entry `name` that starts `commandLine` with the session. The command line is a
// program path, quoted or not (an unquoted path may hold blanks as long as it leads to an existing file),
// followed by arguments separated by blanks. False when the entry cannot be written.
bool WriteAutostartEntry(std::wstring_view name, std::wstring_view commandLine);
// The command line that the entry `name` was written with; nothing when there is no such entry of ours.
std::optional<std::wstring> ReadAutostartEntry(std::wstring_view name);
// Removes the entry `name`; false when there was none or it cannot be removed.
bool RemoveAutostartEntry(std::wstring_view name);

}  // namespace kestrova
