#pragma once
// Host-name resolution for outgoing connections, behind a seam that tests fill so that no lookup leaves the
// machine.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kestrova {

// The IPv4 address of a host name in network byte order, or none when it cannot be resolved.
using HostResolver = std::function<std::optional<uint32_t>(const std::string& host)>;

// Installs `resolver` (an empty one puts the system's resolver back) and returns the one it replaced.
HostResolver SetHostResolver(HostResolver resolver);

// A dotted IPv4 address is taken as it stands; any other name goes to the installed resolver.
std::optional<uint32_t> ResolveHostIPv4(const std::string& host);

}  // namespace kestrova
