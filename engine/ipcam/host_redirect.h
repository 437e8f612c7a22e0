#pragma once
// The camera address as the user typed it may be a URL ("http://name/path"): before each stream attempt the
// reader asks that address for "/" and follows a "302 Moved Temporarily" to the host and port it names.

#include <string>

namespace kestrova {

inline constexpr size_t kHostTextCapacity = 256;

struct HostAndPath {
    std::string host;  // the text after "http://" or "https://" up to the first "/"
    std::string path;  // the text after the host, with its leading "/"
};

// Splits a host text: "http://cam/a" gives host "cam" and path "/a"; a bare "cam" gives "cam" and "".
HostAndPath SplitHostText(const std::string& text);

// Reads the host and port a redirect reply names in its "Location:" header ("10.0.0.7:8080/" gives
// 10.0.0.7 and 8080; the port is 0 when none follows the host). False when the reply is no redirect.
bool ParseRedirect(const std::string& reply, std::string* host, int* port);

}  // namespace kestrova
