#pragma once
// The streaming window (class BKV2StreamWndClass, caption "Streaming"): the local address the streaming
// server listens on, chosen from the machine's IPv4 addresses, its port and an optional password. The main
// window opens it when the user publishes a device, the schedule window when its "Streaming" option is
// ticked. OK replaces the setup's settings; the main window then restarts the server with them.

#include <cstdint>

#include "app/windows/stream_settings.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kStreamWindowClass[] = L"BKV2StreamWndClass";

uint16_t RegisterStreamWindowClass();
// Shows the setup's settings when it has some (their address only while the machine still has it) and,
// after OK, replaces them: 1. Cancelled or closed, the settings stay as they were: 0. OK refuses, with a
// message, a port outside 1 to 65535 and a password too long for its field. Without a setup, OK answers 0.
int ShowStreamWindow(HWND owner, StreamingSetup* setup);

}  // namespace kestrova
