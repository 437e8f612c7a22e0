#pragma once
// What the streaming window asks for and where it leaves it: the main window's streaming setup (the
// settings the server is started with, the storage folder under which the devices write their frames, and
// the window the server reports to), and the checks the typed fields pass before they become settings.
// User-interface thread only.

#include <memory>
#include <optional>
#include <string>

#include "net/web_server.h"
#include "platform/ui/types.h"

namespace kestrova {

// The most characters the window takes of an address and of a password. Stored as UTF-8, the password may
// take 20 bytes and the address 50, each with a terminator after them.
inline constexpr int kStreamAddressChars = 50;
inline constexpr int kStreamPasswordChars = 20;
inline constexpr size_t kStreamPasswordBytes = 20;
inline constexpr size_t kStreamAddressBytes = 50;
inline constexpr int32_t kDefaultStreamPort = 8000;

struct StreamingSetup {
    std::unique_ptr<WebServerSettings> settings;  // null until the streaming window's first OK
    std::wstring storageFolder;                   // ends in "/"; the devices' frames go to its "Server/"
    HWND notifyWindow = nullptr;                  // told when the server listens and when it ends
};

// The streaming window's fields, as typed.
struct StreamFields {
    std::wstring address, port, password;
};
// Why the fields cannot be used, as the message that says so; nothing when they can. The port is a number
// from 1 to 65535 (0 would listen on a port of the system's choosing, which nobody could be told); the
// password must fit its 20 bytes of UTF-8, which 20 characters beyond plain ASCII do not.
std::optional<std::wstring> CheckStreamFields(const StreamFields& fields);
// New settings of fields that passed the check, with no device published yet.
std::unique_ptr<WebServerSettings> MakeStreamSettings(const StreamFields& fields,
                                                      const StreamingSetup& setup);

}  // namespace kestrova
