#pragma once
// The local IPv4 addresses the streaming server can listen on, as the streaming window offers them.

#include <string>
#include <vector>

namespace kestrova {

inline constexpr wchar_t kLoopbackAddress[] = L"127.0.0.1";

// The dotted addresses of the machine's IPv4 interfaces that are up, in the order the system lists them,
// each once, with the loopback address last. The loopback address is there even when the interfaces cannot
// be read, so a server can always be started for this machine itself.
std::vector<std::wstring> ListenAddresses();

}  // namespace kestrova
