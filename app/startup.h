#pragma once
// The program's start and end. WinMain brings the process up in a fixed order (the toolkit, the window
// classes, the single instance, the first run, the recording filters, networking, the main window, keeping
// the system awake), runs the one message loop of the user-interface thread, and shuts down in reverse.
// Every window of the program lives on that thread.

#include <cstdint>
#include <memory>

#include "platform/shell/instance_channel.h"
#include "platform/ui/types.h"

namespace kestrova {

class InstanceRequests;

// The texts the start-up shows.
inline constexpr wchar_t kRestartQuestion[] =
    L"Another instance of Kestrova is already running.\n \nDo you want to restart the program?";
inline constexpr wchar_t kStillRunningMessage[] =
    L"The running instance of Kestrova did not close in time.\n \nClose it from its window, then start "
    L"Kestrova again.";
inline constexpr wchar_t kFiltersMissingMessage[] =
    L"The DLL files necessary to record video and audio files were not found or not installed on your "
    L"system.\n \nTry reinstalling the program to fix this problem.";

// How long a restart waits for the running instance to save and close.
inline constexpr uint32_t kRestartWaitMs = 15000;

// Runs the program; always 0.
int WinMain(int argc, const char* const* argv);

// Registers the program's window classes in their fixed order, stopping at the first that fails; nonzero
// when all were registered.
BOOL RegisterWindowClasses();

// Makes this start the one running instance. When another runs, asks whether to restart: No shows the
// running instance's window; Yes asks it to close (through its own shutdown, so that it saves) and waits for
// it, telling the user when it does not go. True when this start goes on (also unguarded, when the runtime
// folder cannot be used); requests of later starts then reach `requests`, which must outlive `channel`.
bool BecomeTheRunningInstance(InstanceRequests& requests, std::unique_ptr<InstanceChannel>& channel);

// The first start on this machine (or for this user, when the machine-wide key cannot be opened) opens the
// welcome page and remembers that it did.
void RecordFirstRun();

}  // namespace kestrova
