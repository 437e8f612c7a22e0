#include "engine/ipcam/host_redirect.h"

#include <algorithm>
#include <cstdlib>

namespace kestrova {
namespace {

// What "<scheme>%[^<stop>]" reads: the text after `scheme` up to the first `stop`, when the text begins
// with the scheme (or the scheme is empty); at most kHostTextCapacity - 1 characters.
std::string ReadAfterScheme(const std::string& text, const std::string& scheme, char stop) {
    if (text.compare(0, scheme.size(), scheme) != 0) return std::string();
    const size_t start = scheme.size();
    const size_t end = std::min(text.find(stop, start), text.size());
    return text.substr(start, std::min(end - start, kHostTextCapacity - 1));
}

// The host a text names after its scheme: "https://" when the text holds "https" anywhere, else "http://",
// and the whole text up to `stop` when that reads nothing.
std::string ReadHost(const std::string& text, char stop) {
    const bool secure = text.find("https") != std::string::npos;
    std::string host = ReadAfterScheme(text, secure ? "https://" : "http://", stop);
    if (host.empty()) host = ReadAfterScheme(text, "", stop);
    return host;
}

}  // namespace

HostAndPath SplitHostText(const std::string& text) {
    HostAndPath split;
    split.host = ReadHost(text, '/');
    const size_t at = split.host.empty() ? std::string::npos : text.find(split.host);
    if (at != std::string::npos) split.path = text.substr(at + split.host.size());
    return split;
}

bool ParseRedirect(const std::string& reply, std::string* host, int* port) {
    static const std::string kLocation = "Location:";
    const size_t name = reply.find(kLocation);
    if (reply.find("302 Moved Temporarily") == std::string::npos || name == std::string::npos) return false;
    size_t start = name + kLocation.size();
    while (start < reply.size() && (reply[start] == ' ' || reply[start] == '\t')) ++start;
    const size_t end = std::min(reply.find('\r', start), reply.size());
    const std::string location = reply.substr(start, std::min(end - start, kHostTextCapacity - 1));

    *host = ReadHost(location, ':');
    const size_t at = host->empty() ? std::string::npos : location.find(*host);
    const size_t portAt = at == std::string::npos ? location.size() : at + host->size() + 1;
    *port = portAt < location.size() ? std::atoi(location.c_str() + portAt) : 0;
    return true;
}

}  // namespace kestrova
