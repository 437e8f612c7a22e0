#pragma once
// A listening TCP socket on a loopback address and a port the system picks, for the tests' camera peers.

#include <string>

namespace kestrova::testing {

struct LoopbackListener {
    int socket = -1;
    int port = 0;
};

// Listens on `address` (dotted, in 127.0.0.0/8) with room for `backlog` pending connections. Throws
// std::invalid_argument for an address off loopback and std::runtime_error, naming `peer`, when it cannot.
LoopbackListener ListenOnLoopback(const std::string& address, int backlog, const std::string& peer);

}  // namespace kestrova::testing
