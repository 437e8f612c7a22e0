#pragma once
// Opening files, folders and web addresses the way the desktop opens them.

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Opens `target`: a program file (executable by us) is started, with no arguments, in the current folder;
// any other existing file or folder, and a web address ("scheme:..."), goes to the desktop's opener. Returns
// false when the target does not exist or nothing could be started, and logs why (an empty target excepted).
// The started process runs on its own.
bool ShellOpen(std::wstring_view target);

// Starts argv[0] (looked up on PATH when it has no "/") with the arguments as they are, no shell between, in
// a session of its own, with default signal handling and only the standard descriptors. A thread of its own
// reaps it and logs a failing exit. `stdinFd`, when given, becomes its standard input. False when it cannot
// be started, which is logged too.
bool StartProgram(const std::vector<std::string>& argv, int stdinFd = -1);

// Opens the help page "Kestrova.html" of the program's data folder; false when it is not there.
bool OpenHelp();

// The desktop's opener that ShellOpen hands targets to, "xdg-open" unless set; an empty name restores it.
void SetShellOpener(std::string program);

}  // namespace kestrova
