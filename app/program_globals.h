#pragma once
// The globals of the user-interface thread. The main window sets them while it is created and releases them
// when it is destroyed; while it lives, every other window reads them from here. The device list is the
// engine's global (engine/device_list.h); the storage folder, the streaming server and the settings it runs
// with are the main window's (app/main_window.h).
// User-interface thread only: nothing here is locked.

#include "platform/ui/types.h"

namespace kestrova {

class AppSettings;

struct ProgramGlobals {
    HWND mainWindow = nullptr;     // every device's notify window
    HWND displayWindow = nullptr;  // every device's display window
    AppSettings* settings = nullptr;
};

ProgramGlobals& Globals();

// The display's number of streams: 1 while there are no settings.
int StreamsPerDisplay();

}  // namespace kestrova
