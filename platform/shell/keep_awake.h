#pragma once
// Keeping the system awake while the program watches: a sleep and idle inhibitor of the login manager, held
// by a child process for as long as the program wants it (or lives, whichever ends first).

#include <string>

namespace kestrova {

// `awake` true takes the inhibitor (once; a second call keeps the first), false gives it back. Without a
// system bus there is no login manager to ask: nothing happens, false is returned and said once on the debug
// output. True when the inhibitor was asked for, or given back.
bool KeepSystemAwake(bool awake);

// The program that holds the inhibitor while its standard input stays open, "systemd-inhibit" unless set; an
// empty name restores it. For tests.
void SetInhibitorProgram(std::string program);

}  // namespace kestrova
