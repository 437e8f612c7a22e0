#pragma once
// What later starts of the program ask of the running instance through the single-instance channel
// (platform/shell/instance_channel.h). Requests arrive on the channel's thread; the user-interface thread
// acts on them:
//
// - show: the main window gets the notification-area click (message 102, WM_LBUTTONDOWN), which shows and
//   raises it;
// - close: the main window closes through its own shutdown, which saves the program's state. The close
//   waits for the outermost message loop: a modal window runs a loop of its own inside a command of the main
//   window, which goes on using the device list after the loop ends, so the window must not be destroyed
//   under it.

#include <mutex>

#include "platform/shell/instance_channel.h"
#include "platform/ui/types.h"

namespace kestrova {

class InstanceRequests {
public:
    // The channel's handler; any thread.
    void Take(InstanceRequest request);
    // User-interface thread: from now on requests go to `mainWindow`; those that came before are acted on.
    void Attach(HWND mainWindow);
    // User-interface thread, from the outermost message loop only, after each message it dispatched: closes
    // the main window when a close was asked for. True when it did.
    bool CloseIfAsked();

private:
    void PostShowLocked();

    std::mutex mutex_;
    HWND mainWindow_ = nullptr;
    bool showAsked_ = false;
    bool closeAsked_ = false;
};

// The user-interface thread's outermost message loop: dispatches every message of the thread until
// WM_QUIT, acting on close requests between messages. Returns the quit message's code.
int RunMessageLoop(InstanceRequests& requests);

}  // namespace kestrova
